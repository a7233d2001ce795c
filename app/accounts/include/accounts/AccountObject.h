// What the user and group objects share: the binding the store gives each of them (the open
// store, the error list every failure goes to, the server whose SAM is the target), their
// cursors on the store's tables, and the way their operations report.
//
// An operation with a Boolean result returns true when it failed; the reasons are then in the
// error list. Failures the objects detect themselves are raised with kProgramErrorNumber and
// the object's source ("Data.User", "Data.Group"); every such operation catches whatever it
// meets and records it in the error list.
#pragma once

#include "status/clsErr.h"
#include "store/Database.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

class UserCursor;
class GroupCursor;
class MembershipCursor;
struct MembershipEditing;
enum class MembershipEdit;

class AccountObject {
public:
    void DataSource(Database &database) { dataSource_ = &database; }
    void ErrorObject(clsErr &errors) { errorObject_ = &errors; }
    void SAMHost(const std::string &host) { samHost_ = host; }

    Database *DataSource() const { return dataSource_; }
    clsErr *ErrorObject() const { return errorObject_; }
    const std::string &SAMHost() const { return samHost_; }

    // Opens the cursors on User, Group and GroupUser; must succeed before any other operation.
    bool OpenData();
    // Closes whatever cursors are open; always false (not failed).
    bool CloseData();

    // True when a user or a group has the name: a SAM keeps one name space for both. Raises
    // what it meets.
    bool Exists(const std::string &name);

protected:
    enum class Table { User, Group, GroupUser };

    // source names the object in the failures it raises; the tables open in tableOrder.
    AccountObject(std::string source, std::array<Table, 3> tableOrder);
    ~AccountObject();
    AccountObject(const AccountObject &) = delete;
    AccountObject &operator=(const AccountObject &) = delete;

    clsErr &Errors() const;
    Database &Store() const;
    UserCursor &Users() const;
    GroupCursor &Groups() const;
    MembershipCursor &Memberships() const;

    // Runs an operation that returns its failed flag; whatever it raises is recorded in the
    // error list and makes the result true.
    bool Guarded(const std::function<bool()> &operation);
    // Records something missing, such as a name the store does not hold, with Number -1 and
    // answers true (failed). Nothing is raised.
    bool Missing(const std::string &description);
    [[noreturn]] void Raise(const std::string &description) const;

    // Keeps the status of an account service call as LastStatus; when the SAM refused, the
    // status's message (also kept as LastStatusText).
    std::optional<std::string> SAMRefusal(uint32_t status);
    // Raises failurePrefix followed by the status's message when the SAM refused.
    void RaiseIfRefused(uint32_t status, const std::string &failurePrefix);

    // Brings the store in line with what the SAM has just done (samChange says what). When the
    // store cannot follow, the snapshot and the SAM disagree: OutOfStep is set and the failure
    // raised in plain words.
    void FollowInStore(const std::string &samChange, const std::function<void()> &storeChange);

    // Looks every listed name up before changing anything, then changes each membership in the
    // SAM and, once the SAM accepted it, in the store. A name the store lacks or a change the
    // SAM refuses is recorded and the others go on. True when anything was recorded.
    bool EditMemberships(const MembershipEditing &how, std::span<const std::string> names);

    // The store keys of the listed names that the store holds, each once, as "3, 7, 12", and
    // how many they are; nullopt when it holds none of them.
    struct MatchedKeys {
        std::string list;
        int64_t count;
    };
    static std::optional<MatchedKeys> KeysOf(
        std::span<const std::string> names,
        const std::function<std::optional<int64_t>(const std::string &)> &keyOf);
    // What the common-membership queries do when no listed name is in the store: the error
    // list is emptied and the result is true (failed) with no names.
    bool NoneMatched();

private:
    struct TableCursors;
    void open(Table table);
    void close(Table table);

    std::string source_;
    std::array<Table, 3> tableOrder_;
    Database *dataSource_ = nullptr;
    clsErr *errorObject_ = nullptr;
    std::string samHost_;
    std::unique_ptr<TableCursors> cursors_;
};
