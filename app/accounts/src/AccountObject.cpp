#include "accounts/AccountObject.h"

#include "StoreCursors.h"
#include "status/modSAM.h"

#include <stdexcept>

struct AccountObject::TableCursors {
    std::optional<UserCursor> users;
    std::optional<GroupCursor> groups;
    std::optional<MembershipCursor> memberships;
};

namespace {

template <typename Cursor>
Cursor &whileOpen(std::optional<Cursor> &cursor, const std::string &source) {
    if (!cursor) {
        throw ProgramError(kProgramErrorNumber, source, "The account data is not open");
    }
    return *cursor;
}

}  // namespace

AccountObject::AccountObject(std::string source, std::array<Table, 3> tableOrder)
    : source_(std::move(source)),
      tableOrder_(tableOrder),
      cursors_(std::make_unique<TableCursors>()) {}

AccountObject::~AccountObject() { CloseData(); }

bool AccountObject::OpenData() {
    try {
        CloseData();
        for (const Table table : tableOrder_) {
            open(table);
        }
        // The working store is a copy that every load builds anew from the SAM: its writes need
        // not wait for the disk, which they did once per changed account, nor create and delete
        // a journal file for each. Locking stays as it was. Set here rather than at the store's
        // opening, which would read its tables early.
        Store().execute("PRAGMA synchronous = OFF");
        Store().execute("PRAGMA journal_mode = PERSIST");
        return false;
    } catch (...) {
        Errors().CloneErr();
        CloseData();
        return true;
    }
}

bool AccountObject::CloseData() {
    for (const Table table : tableOrder_) {
        close(table);
    }
    return false;
}

void AccountObject::open(Table table) {
    switch (table) {
        case Table::User:
            cursors_->users.emplace(Store());
            break;
        case Table::Group:
            cursors_->groups.emplace(Store());
            break;
        case Table::GroupUser:
            cursors_->memberships.emplace(Store());
            break;
    }
}

void AccountObject::close(Table table) {
    switch (table) {
        case Table::User:
            cursors_->users.reset();
            break;
        case Table::Group:
            cursors_->groups.reset();
            break;
        case Table::GroupUser:
            cursors_->memberships.reset();
            break;
    }
}

bool AccountObject::Exists(const std::string &name) {
    return Users().Seek(name).has_value() || Groups().Seek(name).has_value();
}

clsErr &AccountObject::Errors() const {
    if (errorObject_ == nullptr) {
        throw std::logic_error(source_ + " has no error list");
    }
    return *errorObject_;
}

Database &AccountObject::Store() const {
    if (dataSource_ == nullptr) {
        throw ProgramError(kProgramErrorNumber, source_, "No store is bound");
    }
    return *dataSource_;
}

UserCursor &AccountObject::Users() const { return whileOpen(cursors_->users, source_); }

GroupCursor &AccountObject::Groups() const { return whileOpen(cursors_->groups, source_); }

MembershipCursor &AccountObject::Memberships() const {
    return whileOpen(cursors_->memberships, source_);
}

bool AccountObject::Guarded(const std::function<bool()> &operation) {
    try {
        return operation();
    } catch (...) {
        Errors().CloneErr();
        return true;
    }
}

bool AccountObject::Missing(const std::string &description) {
    Errors().Number(-1);
    Errors().Description(description);
    return true;
}

void AccountObject::Raise(const std::string &description) const {
    throw ProgramError(kProgramErrorNumber, source_, description);
}

std::optional<std::string> AccountObject::SAMRefusal(uint32_t status) {
    LastStatus = status;
    if (status == 0) {
        return std::nullopt;
    }
    StatusText(LastStatus, LastStatusText);
    return LastStatusText;
}

void AccountObject::RaiseIfRefused(uint32_t status, const std::string &failurePrefix) {
    if (const auto statusText = SAMRefusal(status)) {
        Raise(failurePrefix + *statusText);
    }
}

void AccountObject::FollowInStore(const std::string &samChange,
                                  const std::function<void()> &storeChange) {
    try {
        storeChange();
    } catch (const ProgramError &failure) {
        OutOfStep = true;
        Raise(samChange + ", but the local copy could not be updated: " +
              PlainStoreFailure(failure) + ".");
    }
}

bool AccountObject::NoneMatched() {
    Errors().Number(0);
    Errors().Description("");
    return true;
}
