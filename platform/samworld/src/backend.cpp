// The world's answers to the network account calls: a server names a machine of the world, its
// account calls address that machine's SAM, and each call consults the fault table first and
// refuses a caller whose account is disabled or locked out (ERROR_ACCESS_DENIED).
#include "samworld/backend.h"

#include "samworld/accounts.h"
#include "samworld/names.h"
#include "samworld/network.h"
#include "samworld/services.h"

#include <sys/stat.h>

#include <algorithm>

namespace samworld {
namespace {

using backend::Position;

// A caller may clear UF_LOCKOUT but never set it.
uint32_t callerFlags(uint32_t requested, uint32_t current) {
    return (requested & ~UF_LOCKOUT) | (requested & current & UF_LOCKOUT);
}

class WorldTarget : public backend::Target {
public:
    WorldTarget(std::unique_lock<std::mutex> turn, const Database &database, std::string_view call,
                std::string_view server)
        : turn_(std::move(turn)),
          lookups_(database, Transaction::Kind::Read),
          network_(database),
          machine_(network_.machineOfServer(server)),
          sam_(database, network_.samOf(machine_)) {
        const bool faultNamed = faultMatches(database, call, machine_);
        // A caller disabled or locked out since logging on acts no more, not even to read.
        requireActiveCaller(network_);
        lookups_.commit();
        // Counting a fault writes, so it comes after the lookups' read, and only in tests.
        if (!faultNamed) return;
        if (const auto status = takeFault(database, call, machine_)) {
            throw Error(*status, "injected fault");
        }
    }

    // ---- transactions ----
    void read(const std::function<void()> &body) override {
        Transaction snapshot(database(), Transaction::Kind::Read);
        body();
    }

    void change(const std::function<void()> &body) override {
        Transaction transaction(database());
        requireAdministrator(network_, sam_.info());
        body();
        transaction.commit();
    }

    // ---- the machine and its domain ----
    backend::MachineInfo machine() override {
        return {machine_.name, machine_.domain.empty() ? machine_.workgroup : machine_.domain};
    }

    std::string controller(std::string_view domain) override {
        return network_.controllerOf(domainSeen(domain));
    }

    std::vector<std::string> trustedDomains() override {
        std::vector<std::string> names;
        if (const auto own = network_.domainOf(machine_)) {
            for (const auto &domain : network_.trustedDomains(*own)) names.push_back(domain.name);
        }
        return names;
    }

    // ---- users ----
    Page<Account> users(uint32_t anyFlags, Position after, const Accept<Account> &accept) override {
        return sam_.accounts(AccountKind::User, anyFlags, after, accept);
    }

    // Each user's record is built once, when it is offered.
    Page<UserRecord> userRecords(uint32_t anyFlags, Position after,
                                 const Accept<UserRecord> &accept) override {
        std::vector<UserRecord> offered;
        const auto users = sam_.accounts(AccountKind::User, anyFlags, after, [&](const Account &user) {
            offered.push_back(sam_.userRecord(user.name));
            return accept(offered.back());
        });
        Page<UserRecord> records{{}, users.more, std::nullopt};
        for (size_t i = 0; i < users.entries.size(); ++i) {
            records.entries.push_back({users.entries[i].key, std::move(offered[i])});
        }
        return records;
    }

    Account user(std::string_view name) override { return sam_.user(name); }
    UserRecord userRecord(std::string_view name) override { return sam_.userRecord(name); }

    void addUser(const UserRecord &user) override {
        UserRecord record = user;
        record.flags = callerFlags(user.flags, 0);
        sam_.addUser(record);
    }

    void updateUser(std::string_view name, const UserUpdate &update) override {
        UserUpdate checked = update;
        if (update.flags) checked.flags = callerFlags(*update.flags, sam_.userRecord(name).flags);
        sam_.updateUser(name, checked);
    }

    void deleteUser(std::string_view name) override { sam_.deleteUser(name); }

    std::vector<Account> groupsOfUser(std::string_view user) override {
        return sam_.groupsOfUser(sam_.user(user));
    }

    std::vector<Account> localGroupsOf(std::string_view user, bool indirect) override {
        return sam_.localGroupsOf(userWithinReach(user), indirect);
    }

    // ---- groups ----
    Page<Account> groups(AccountKind kind, Position after, const Accept<Account> &accept) override {
        return sam_.accounts(kind, 0, after, accept);
    }

    Account group(std::string_view name, AccountKind kind) override { return sam_.group(name, kind); }

    void addGroup(std::string_view name, AccountKind kind, std::string_view comment) override {
        sam_.addGroup(name, kind, comment);
    }

    void deleteGroup(std::string_view name, AccountKind kind) override { sam_.deleteGroup(name, kind); }

    void setGroupComment(std::string_view name, AccountKind kind, std::string_view comment) override {
        sam_.setGroupComment(name, kind, comment);
    }

    // ---- memberships ----
    Page<Account> groupUsers(std::string_view group, Position after,
                             const Accept<Account> &accept) override {
        return sam_.groupUsers(sam_.group(group, AccountKind::GlobalGroup), after, accept);
    }

    void addGroupUser(std::string_view group, std::string_view user) override {
        sam_.addGroupUser(group, user);
    }

    void deleteGroupUser(std::string_view group, std::string_view user) override {
        sam_.deleteGroupUser(group, user);
    }

    Page<Account> localMembers(std::string_view group, Position after,
                               const Accept<Account> &accept) override {
        return sam_.localMembers(sam_.group(group, AccountKind::LocalGroup), after, accept);
    }

    void addLocalMembers(std::string_view group, const std::vector<std::string> &members) override {
        sam_.group(group, AccountKind::LocalGroup);
        for (const auto &member : members) sam_.addLocalMember(group, memberNamed(member));
    }

    void deleteLocalMembers(std::string_view group, const std::vector<std::string> &members) override {
        sam_.group(group, AccountKind::LocalGroup);
        for (const auto &member : members) sam_.deleteLocalMember(group, memberNamed(member));
    }

    // ---- shares and logged-on users ----
    std::optional<Share> share(std::string_view name) override { return services().share(name); }
    void addShare(const Share &share) override { services().addShare(share); }
    void deleteShare(std::string_view name) override { services().deleteShare(name); }

    Page<std::string> sessions(Position after, const Accept<std::string> &accept) override {
        return services().sessions(after, accept);
    }

private:
    const Database &database() const { return network_.database(); }
    MachineServices services() const { return MachineServices(database(), machine_); }

    Account memberNamed(std::string_view name) const { return network_.resolveAccount(sam_.info(), name); }

    // NAME or DOMAIN\NAME within reach of this SAM, and a user.
    Account userWithinReach(std::string_view name) const {
        try {
            Account account = memberNamed(name);
            if (account.kind == AccountKind::User) return account;
        } catch (const Error &error) {
            if (error.status != ERROR_NO_SUCH_MEMBER) throw;
        }
        throw Error(NERR_UserNotFound, "no user '" + std::string(name) + "' within reach");
    }

    // The domain that `domain` names as seen from the machine: empty is its own; otherwise its
    // own or one its domain trusts.
    SamInfo domainSeen(std::string_view domain) const {
        const auto own = network_.domainOf(machine_);
        if (!own) throw Error(NERR_DCNotFound, machine_.name + " is in no domain");
        if (domain.empty() || foldCase(domain) == foldCase(own->name)) return *own;
        const auto trusted = network_.trustedDomains(*own);
        const auto found = std::find_if(trusted.begin(), trusted.end(), [&](const SamInfo &sam) {
            return foldCase(sam.name) == foldCase(domain);
        });
        if (found == trusted.end()) {
            throw Error(NERR_DCNotFound, own->name + " does not trust " + std::string(domain));
        }
        return *found;
    }

    std::unique_lock<std::mutex> turn_;
    // The lookups every call starts with, in one read of the world: each query on its own would
    // be a read transaction with its own locks and checks of the files.
    Transaction lookups_;
    Network network_;
    Machine machine_;
    Sam sam_;
};

}  // namespace

std::unique_ptr<backend::Target> WorldBackend::target(std::string_view call, std::string_view server) {
    std::unique_lock turn(mutex_);
    const World &world = current();
    return std::make_unique<WorldTarget>(std::move(turn), world.database(), call, server);
}

std::optional<WorldBackend::FileIdentity> WorldBackend::identify(const std::string &path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return FileIdentity{path, status.st_dev, status.st_ino};
}

const World &WorldBackend::current() {
    // Identified before opening: a file replaced in between (or the demo world made at first
    // use) is seen, and opened, on the next call.
    const auto identity = identify(World::defaultPath());
    if (!world_ || !identity || *identity != opened_) {
        world_.reset();
        world_.emplace(World::openDefault());
        opened_ = identity.value_or(FileIdentity{});
    }
    return *world_;
}

}  // namespace samworld
