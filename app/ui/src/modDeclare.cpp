#include "ui/modDeclare.h"

#include "store/ProgramValues.h"

void InitDeclarations() {
    ItemStrings[kUsersType] = {"User", "Is in &Groups:", "Is &not in Groups:",
                               "Are all in &Groups:", "Are &Not all in Groups"};
    ItemStrings[kGroupsType] = {"Group", "Has &Members:", "Does &not have Users:",
                                "All have &Users:", "Do &not all have Users:"};
}
