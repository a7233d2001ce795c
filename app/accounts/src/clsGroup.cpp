#include "accounts/clsGroup.h"

clsGroup::~clsGroup() { CloseData(); }

bool clsGroup::CloseData() {
    // The object opens no cursors yet: its account operations come with the next layer.
    return false;
}
