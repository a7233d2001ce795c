#include "store/ProgramValues.h"

#include "status/ShowErrors.h"

#include <stdexcept>

std::unique_ptr<clsData> gData;
bool gIsDomain = false;
std::string gDomainName;
std::array<std::array<std::string, 5>, 2> ItemStrings;

int32_t ShowErrors(const std::string &caption, bool plain) {
    if (!gData) {
        throw std::logic_error("ShowErrors before the store exists: " + caption);
    }
    return ShowErrors(gData->LastErr(), caption, plain);
}
