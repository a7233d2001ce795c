#include "store/clsData.h"

#include "status/modSAM.h"
#include "store/ProgramValues.h"

#include <stdexcept>

namespace {

const char *const kSource = "clsData";

void bindToStore(AccountObject &object, Database &store, clsErr &errors,
                 const std::string &target) {
    object.DataSource(store);
    object.ErrorObject(errors);
    object.SAMHost(target);
}

// The account objects exist only while a target is open.
template <typename AccountClass>
AccountClass &whileOpen(const std::unique_ptr<AccountClass> &object) {
    if (!object) {
        throw std::logic_error("No target is open");
    }
    return *object;
}

}  // namespace

clsData::clsData(StoreFolders folders) : folders_(std::move(folders)) {}

clsData::~clsData() { CloseStore(); }

clsUser &clsData::User() { return whileOpen(user_); }

clsGroup &clsData::Group() { return whileOpen(group_); }

NameList &clsData::workList() const {
    if (workList_ == nullptr) {
        throw ProgramError(kProgramErrorNumber, kSource, "No work list has been set");
    }
    return *workList_;
}

void clsData::TargetSAM(const std::string &target) {
    NoProgress unwatched;
    TargetSAM(target, unwatched);
}

void clsData::TargetSAM(const std::string &target, ProgressReporter &progress) {
    const auto templatePath = TemplatePath();
    const auto workPath = WorkingPath();
    lastErr_.Refresh();
    try {
        CloseStore();
        target_ = target;
        gIsDomain = IsDomainTarget(target_, workList());
        // A failed load has recorded its error; the store still opens, on empty tables or
        // on the previous working file.
        LoadSnapshot(workPath, templatePath, progress);
        ItemStrings[0][0] = gIsDomain ? "Domain User" : "User";
        OpenStore(workPath);
    } catch (...) {
        lastErr_.CloneErr();
    }
}

void clsData::OpenStore(const std::filesystem::path &workPath) {
    database_.emplace(workPath);
    user_ = std::make_unique<clsUser>();
    bindToStore(*user_, *database_, lastErr_, target_);
    group_ = std::make_unique<clsGroup>();
    bindToStore(*group_, *database_, lastErr_, target_);
}

void clsData::CloseStore() {
    if (!database_) {
        return;
    }
    // The account objects close their cursors as they go, before the store they use; none
    // may outlive the connection it was bound to.
    user_.reset();
    group_.reset();
    database_.reset();
}
