// The snapshot store: the working copy of the target SAM's account names and memberships
// (Kelvary.MDB), rebuilt from the empty template (Template.MDB) at every switch of target.
// It owns the program's error list and, while a target is open, the user and group objects.
#pragma once

#include "accounts/clsGroup.h"
#include "accounts/clsUser.h"
#include "status/Progress.h"
#include "status/clsErr.h"
#include "store/Database.h"
#include "store/StoreFolders.h"
#include "vantry_api/NameList.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class clsData {
public:
    explicit clsData(StoreFolders folders);
    ~clsData();
    clsData(const clsData &) = delete;
    clsData &operator=(const clsData &) = delete;

    clsErr &LastErr() { return lastErr_; }
    // The account objects of the open target; std::logic_error while none is open.
    clsUser &User();
    clsGroup &Group();

    // The list the library's enumerations deliver into. Set it before the first TargetSAM.
    void WorkList(NameList &workList) { workList_ = &workList; }
    // Closes the open store, reloads it from the target ("\\" and the machine name) and opens
    // it again. Reports only through LastErr: its Number is 0 after success. The load tells
    // progress each step it begins; stopped there, it is undone like a failed one.
    void TargetSAM(const std::string &target, ProgressReporter &progress);
    void TargetSAM(const std::string &target);

    std::filesystem::path TemplatePath() const { return folders_.templates / "Template.MDB"; }
    std::filesystem::path WorkingPath() const { return folders_.working / "Kelvary.MDB"; }

private:
    void CloseStore();
    void LoadSnapshot(const std::filesystem::path &workPath,
                      const std::filesystem::path &templatePath, ProgressReporter &progress);
    void OpenStore(const std::filesystem::path &workPath);
    NameList &workList() const;

    StoreFolders folders_;
    clsErr lastErr_;
    // Declared before the account objects, which use it, so that it is closed after them.
    std::optional<Database> database_;
    std::unique_ptr<clsUser> user_;
    std::unique_ptr<clsGroup> group_;
    std::string target_;
    NameList *workList_ = nullptr;
};
