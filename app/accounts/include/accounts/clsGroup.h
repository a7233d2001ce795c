// The group object: creates, reads, changes and deletes local and global groups in the
// target SAM and keeps the store's Group rows in step.
#pragma once

#include "accounts/AccountObject.h"

class clsGroup : public AccountObject {
public:
    clsGroup() = default;
    ~clsGroup();

    // Closes the object's cursors on the store; always false (not failed).
    bool CloseData();
};
