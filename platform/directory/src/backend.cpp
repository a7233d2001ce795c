// The directory as a backend of the network account calls: one Domain per configured domain,
// kept for the process; each call's target forwards to it. What LDAP cannot reach (shares,
// logged-on users) answers ERROR_NOT_SUPPORTED.
#include "directory/backend.h"

#include "domain.h"
#include "mpr/connections.h"

#include <map>
#include <mutex>

namespace directory {
namespace {

[[noreturn]] void notSupported(const std::string &what) {
    throw backend::Error(ERROR_NOT_SUPPORTED, what + " cannot be reached over LDAP");
}

class DirectoryTarget final : public backend::Target {
public:
    DirectoryTarget(std::shared_ptr<Domain> domain, const DirectoryDomain &configured)
        : domain_(std::move(domain)), configured_(configured) {}

    // Each write is the directory's own transaction and rights check.
    void read(const std::function<void()> &body) override { body(); }
    void change(const std::function<void()> &body) override { body(); }

    backend::MachineInfo machine() override { return {controllerName(), configured_.netbiosName}; }

    std::string controller(std::string_view domain) override {
        if (!domain.empty() && !configured_.isNamedBy(domain)) {
            throw backend::Error(NERR_DCNotFound, "no controller of " + std::string(domain) + " is configured");
        }
        return controllerName();
    }
    std::vector<std::string> trustedDomains() override { return domain_->trustedDomainNames(); }

    backend::Page<Account> users(uint32_t anyFlags, backend::Position after,
                                 const backend::Accept<Account> &accept) override {
        return domain_->accounts(AccountKind::User, anyFlags, after, accept);
    }
    // Each user's record is read once, when it is offered.
    backend::Page<UserRecord> userRecords(uint32_t anyFlags, backend::Position after,
                                          const backend::Accept<UserRecord> &accept) override {
        std::vector<UserRecord> offered;
        auto users = domain_->accounts(AccountKind::User, anyFlags, after, [&](const Account &user) {
            offered.push_back(domain_->userRecord(user.name));
            return accept(offered.back());
        });
        Page<UserRecord> page{{}, users.more, users.remaining};
        for (size_t i = 0; i < users.entries.size(); ++i) {
            page.entries.push_back({users.entries[i].key, std::move(offered[i])});
        }
        return page;
    }
    Account user(std::string_view name) override { return domain_->user(std::string(name)); }
    UserRecord userRecord(std::string_view name) override { return domain_->userRecord(std::string(name)); }
    void addUser(const UserRecord &user) override { domain_->addUser(user); }
    void updateUser(std::string_view name, const UserUpdate &update) override {
        domain_->updateUser(std::string(name), update);
    }
    void deleteUser(std::string_view name) override { domain_->deleteUser(std::string(name)); }
    std::vector<Account> groupsOfUser(std::string_view user) override { return domain_->groupsOfUser(std::string(user)); }
    std::vector<Account> localGroupsOf(std::string_view user, bool indirect) override {
        return domain_->localGroupsOf(std::string(user), indirect);
    }

    backend::Page<Account> groups(AccountKind kind, backend::Position after,
                                  const backend::Accept<Account> &accept) override {
        return domain_->accounts(kind, 0, after, accept);
    }
    Account group(std::string_view name, AccountKind kind) override { return domain_->group(std::string(name), kind); }
    void addGroup(std::string_view name, AccountKind kind, std::string_view comment) override {
        domain_->addGroup(std::string(name), kind, std::string(comment));
    }
    void deleteGroup(std::string_view name, AccountKind kind) override { domain_->deleteGroup(std::string(name), kind); }
    void setGroupComment(std::string_view name, AccountKind kind, std::string_view comment) override {
        domain_->setGroupComment(std::string(name), kind, std::string(comment));
    }

    backend::Page<Account> groupUsers(std::string_view group, backend::Position after,
                                      const backend::Accept<Account> &accept) override {
        return domain_->groupUsers(std::string(group), after, accept);
    }
    void addGroupUser(std::string_view group, std::string_view user) override {
        domain_->addGroupUser(std::string(group), std::string(user));
    }
    void deleteGroupUser(std::string_view group, std::string_view user) override {
        domain_->deleteGroupUser(std::string(group), std::string(user));
    }
    backend::Page<Account> localMembers(std::string_view group, backend::Position after,
                                        const backend::Accept<Account> &accept) override {
        return domain_->localMembers(std::string(group), after, accept);
    }
    void addLocalMembers(std::string_view group, const std::vector<std::string> &members) override {
        domain_->addLocalMembers(std::string(group), members);
    }
    void deleteLocalMembers(std::string_view group, const std::vector<std::string> &members) override {
        domain_->deleteLocalMembers(std::string(group), members);
    }

    std::optional<backend::Share> share(std::string_view) override { notSupported("shares"); }
    void addShare(const backend::Share &) override { notSupported("shares"); }
    void deleteShare(std::string_view) override { notSupported("shares"); }
    backend::Page<std::string> sessions(backend::Position, const backend::Accept<std::string> &) override {
        notSupported("logged-on users");
    }

private:
    // The controller's own name when the configuration routes it here, else the domain's DNS
    // name, so that the name handed out always leads back to this domain.
    std::string controllerName() {
        const std::string own = domain_->controllerName();
        return configured_.isNamedBy(own) ? own : configured_.dnsName;
    }

    std::shared_ptr<Domain> domain_;
    DirectoryDomain configured_;
};

class DirectoryBackend final : public backend::Backend {
public:
    DirectoryBackend(std::shared_ptr<Domain> domain, DirectoryDomain configured)
        : domain_(std::move(domain)), configured_(std::move(configured)) {}

    std::unique_ptr<backend::Target> target(std::string_view, std::string_view) override {
        return std::make_unique<DirectoryTarget>(domain_, configured_);
    }

private:
    std::shared_ptr<Domain> domain_;
    DirectoryDomain configured_;
};

// The name and password given (WNetAddConnection2W) for any name the domain goes by, or none.
CredentialSource credentialsFor(const DirectoryDomain &configured) {
    std::vector<std::string> names = {configured.netbiosName, configured.dnsName};
    if (!configured.controller.empty()) {
        names.push_back(configured.controller);
        names.push_back(configured.controller.substr(0, configured.controller.find('.')));
    }
    return {
        [] { return mpr::connectionsChanged(); },
        [names](const std::function<void(const std::optional<Credentials> &)> &bind) {
            for (const auto &name : names) {
                const bool given = mpr::useConnection(name, [&](std::string_view user, std::string_view password) {
                    bind(Credentials{user, password});
                });
                if (given) return;
            }
            bind(std::nullopt);
        },
    };
}

DomainConfig configOf(const DirectoryDomain &configured) {
    return {configured.netbiosName, configured.dnsName, configured.controller, configured.caFile};
}

// The domains a domain trusts, asked with its credentials where the configuration lists them
// too; their answers are the names of foreign members.
TrustedLookup trustedLookup(const CredentialSource &credentials) {
    struct Reached {
        std::mutex lock;
        std::map<std::string, std::shared_ptr<Domain>> domains;
    };
    const auto reached = std::make_shared<Reached>();
    const auto reach = [reached, credentials](const std::string &flatName) -> std::shared_ptr<Domain> {
        const std::lock_guard guard(reached->lock);
        auto &domain = reached->domains[flatName];
        if (!domain) {
            for (const auto &configured : readConfiguration(configurationPath())) {
                if (configured.isNamedBy(flatName)) domain = std::make_shared<Domain>(configOf(configured), credentials);
            }
        }
        return domain;
    };
    const auto ask = [reach](const std::string &flatName, const auto &question) -> std::optional<Account> {
        const auto domain = reach(flatName);
        return domain ? question(*domain) : std::nullopt;
    };
    return {
        [ask](const std::string &flatName, const std::string &sid) {
            return ask(flatName, [&](Domain &domain) { return domain.findBySid(sid); });
        },
        [ask](const std::string &flatName, const std::string &name) {
            return ask(flatName, [&](Domain &domain) { return domain.find(name); });
        },
    };
}

}  // namespace

std::unique_ptr<backend::Backend> open(const DirectoryDomain &configured) {
    const CredentialSource credentials = credentialsFor(configured);
    auto domain = std::make_shared<Domain>(configOf(configured), credentials, trustedLookup(credentials));
    return std::make_unique<DirectoryBackend>(std::move(domain), configured);
}

}  // namespace directory
