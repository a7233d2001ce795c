// The user object: creates, reads, changes and deletes user accounts in the target SAM and
// keeps the store's User rows in step.
#pragma once

#include "accounts/AccountObject.h"

class clsUser : public AccountObject {
public:
    clsUser() = default;
    ~clsUser();

    // Closes the object's cursors on the store; always false (not failed).
    bool CloseData();
};
