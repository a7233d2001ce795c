#include "accounts/clsUser.h"

clsUser::~clsUser() { CloseData(); }

bool clsUser::CloseData() {
    // The object opens no cursors yet: its account operations come with the next layer.
    return false;
}
