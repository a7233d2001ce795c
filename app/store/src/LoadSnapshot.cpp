// Fills a fresh copy of the template with the target's users and groups (with what the
// listings say of each) and user memberships, all or nothing: one transaction, prepared
// statements, one index seek per member.
#include "store/clsData.h"

#include "status/modSAM.h"
#include "store/ProgramValues.h"
#include "vantry_api/modVantryDeclare.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>

namespace {

const char *const kSource = "clsData";

[[noreturn]] void failLoad(const std::string &description) {
    throw ProgramError(kProgramErrorNumber, kSource, description);
}

// Tells progress the step that begins; a stop asked for there ends the load like a failure,
// so that nothing of it stays.
void beginStep(ProgressReporter &progress, int64_t done, int64_t total, const std::string &what) {
    if (!progress.Step(done, total, what)) failLoad("Loading was cancelled.");
}

// Runs one enumeration into the cleared work list; a failed one ends the load.
void enumerate(NameList &workList, const std::string &failurePrefix,
               const std::function<uint32_t(HWND)> &enumeration) {
    workList.clear();
    const uint32_t status = enumeration(workList.window());
    if (status != 0) {
        std::string statusText;
        StatusText(status, statusText);
        failLoad(failurePrefix + statusText);
    }
}

bool startsWithIgnoringCase(const std::string &text, const std::string &prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The prefix the target's own accounts carry in local-group member names.
std::string accountPrefix(const std::string &target) {
    if (gIsDomain) {
        return gDomainName + "\\";
    }
    return (target.size() > 2 ? target.substr(2) : std::string()) + "\\";
}

// The load's statements, prepared once on the load's own connection.
class SnapshotWriter {
public:
    explicit SnapshotWriter(const Database &store)
        : addUser_(store.prepare(
              "INSERT INTO User (UserName, FullName, Comment, Flags) VALUES (?, ?, ?, ?)")),
          addGroup_(store.prepare(
              "INSERT INTO [Group] (GroupName, IsGlobal, Comment) VALUES (?, ?, ?)")),
          findUser_(store.prepare("SELECT UserID FROM User WHERE UserName = ?")),
          addMembership_(store.prepare("INSERT INTO GroupUser (GroupID, UserID) VALUES (?, ?)")) {}

    // Each with the full name, comment and flags the listing gave, where it gave them.
    void addUsers(const NameList &names) {
        for (int64_t i = 0; i < names.count(); ++i) {
            const ListedDetails &details = detailsOf(names, i);
            runOnce(addUser_.bind(1, names.item(i))
                        .bind(2, details.fullName)
                        .bind(3, details.comment)
                        .bind(4, int64_t{details.flags}));
        }
    }

    void addGroups(const NameList &names, bool isGlobal) {
        for (int64_t i = 0; i < names.count(); ++i) {
            runOnce(addGroup_.bind(1, names.item(i))
                        .bind(2, isGlobal ? modVantryDeclare::kTrue : modVantryDeclare::kFalse)
                        .bind(3, detailsOf(names, i).comment));
        }
    }

    std::optional<int64_t> findUser(const std::string &name) {
        findUser_.bind(1, name);
        std::optional<int64_t> userId;
        if (findUser_.step()) {
            userId = findUser_.integer(0);
        }
        findUser_.reset();
        return userId;
    }

    void addMembership(int64_t groupId, int64_t userId) {
        runOnce(addMembership_.bind(1, groupId).bind(2, userId));
    }

private:
    static const ListedDetails &detailsOf(const NameList &names, int64_t index) {
        static const ListedDetails none;
        const ListedDetails *details = names.details(index);
        return details != nullptr ? *details : none;
    }

    static void runOnce(Statement &statement) {
        statement.run();
        statement.reset();
    }

    Statement addUser_;
    Statement addGroup_;
    Statement findUser_;
    Statement addMembership_;
};

struct Group {
    int64_t id;
    std::string name;
    bool isGlobal;
};

// Records the members of one group that are users of the store. A local group names them
// with their domain or machine; only the target's own accounts belong to this snapshot.
void loadMembers(const std::string &target, const std::string &ownPrefix, const Group &group,
                 NameList &workList, SnapshotWriter &writer) {
    const char *server = target.c_str();
    enumerate(workList, "Get users failed: ", [&](HWND window) {
        return group.isGlobal ? modVantryDeclare::GetGroupUsers(server, group.name.c_str(),
                                                                modVantryDeclare::kListBox, window)
                              : modVantryDeclare::GetLocalGroupUsers(
                                    server, group.name.c_str(), modVantryDeclare::kListBox, window);
    });
    for (int64_t i = 0; i < workList.count(); ++i) {
        std::string name = workList.item(i);
        if (!group.isGlobal) {
            // Account names ignore case, so a target typed in lower case is still its own.
            if (!startsWithIgnoringCase(name, ownPrefix)) {
                continue;
            }
            name.erase(0, ownPrefix.size());
        }
        if (const auto userId = writer.findUser(name)) {
            writer.addMembership(group.id, *userId);
        }
    }
    workList.clear();
}

int64_t groupCount(const Database &store) {
    Statement count = store.prepare("SELECT Count(*) FROM [Group]");
    return count.step() ? count.integer(0) : 0;
}

void loadMemberships(const Database &store, const std::string &target, NameList &workList,
                     SnapshotWriter &writer, ProgressReporter &progress) {
    const int64_t total = groupCount(store);
    Statement groups =
        store.prepare("SELECT GroupID, GroupName, IsGlobal FROM [Group] ORDER BY GroupID");
    const std::string ownPrefix = accountPrefix(target);
    for (int64_t done = 0; groups.step(); ++done) {
        const Group group{groups.integer(0), groups.text(1), groups.integer(2) != 0};
        beginStep(progress, done, total, "Reading the members of " + group.name);
        loadMembers(target, ownPrefix, group, workList, writer);
    }
}

void loadAccounts(const Database &store, const std::string &target, NameList &workList,
                  ProgressReporter &progress) {
    namespace api = modVantryDeclare;
    const char *server = target.c_str();
    SnapshotWriter writer(store);

    beginStep(progress, 0, 0, "Reading the users");
    enumerate(workList, "Get users failed: ", [&](HWND window) {
        return api::GetAllUsers(server, api::kListBox, window);
    });
    writer.addUsers(workList);

    beginStep(progress, 0, 0, "Reading the local groups");
    enumerate(workList, "Get local groups failed: ", [&](HWND window) {
        return api::GetAllGroups(api::kFalse, server, api::kListBox, window);
    });
    writer.addGroups(workList, false);

    workList.clear();
    if (gIsDomain) {
        beginStep(progress, 0, 0, "Reading the global groups");
        enumerate(workList, "Get global groups failed: ", [&](HWND window) {
            return api::GetAllGroups(api::kTrue, server, api::kListBox, window);
        });
        writer.addGroups(workList, true);
        workList.clear();
    }

    loadMemberships(store, target, workList, writer, progress);
}

void copyTemplate(const std::filesystem::path &templatePath,
                  const std::filesystem::path &workPath) {
    std::error_code error;
    std::filesystem::copy_file(templatePath, workPath,
                               std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        failLoad("Unable to copy " + templatePath.string() + " to " + workPath.string() + ": " +
                 error.message());
    }
    // The copy takes the template's permissions; the target's accounts are the owner's alone,
    // and so is the journal, which the engine creates with the file's own permissions.
    std::filesystem::permissions(
        workPath, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, error);
    if (error) {
        failLoad("Unable to restrict " + workPath.string() + " to its owner: " + error.message());
    }
    // A journal left by an interrupted session belongs to the replaced file: applied to the
    // fresh copy it would corrupt it.
    const std::string journal = workPath.string() + "-journal";
    std::filesystem::remove(journal, error);
    if (error) {
        failLoad("Unable to remove " + journal + ": " + error.message());
    }
}

}  // namespace

void clsData::LoadSnapshot(const std::filesystem::path &workPath,
                           const std::filesystem::path &templatePath, ProgressReporter &progress) {
    try {
        copyTemplate(templatePath, workPath);
        const Database store(workPath);
        Transaction transaction(store);
        loadAccounts(store, target_, workList(), progress);
        transaction.commit();
    } catch (...) {
        lastErr_.CloneErr();
    }
}
