// The Other Items dialog: lists the global groups and users of a domain that the target
// trusts, so that the Relationships dialog can add the chosen ones to the target's local
// groups.
#pragma once

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class BusyCursor;
class NameList;

namespace Ui {
class frmTrusted;
}

class frmTrusted : public QDialog {
    Q_OBJECT

public:
    // workList: the main window's hidden list, which the library's enumerations fill.
    frmTrusted(QWidget *owner, NameList &workList);
    ~frmTrusted() override;

    // While true, choosing a domain entry does not rebuild the list.
    bool Loading() const { return Loading_; }
    void Loading(bool loading) { Loading_ = loading; }
    // True after OK, false after Cancel.
    bool Accepted() const { return Accepted_; }

    // Fills the domain list with the domains the target offers, without the target machine
    // itself, and chooses the target's domain. False, after saying so, when none is left.
    bool LoadDomains();
    // Rebuilds the account list for the chosen domain entry.
    void UpdateList();
    // The selected accounts as members of a local group: the domain, a backslash and the name;
    // for a machine entry the bare name.
    std::vector<std::string> ChosenAccounts() const;

protected:
    // Escape and the window's close box cancel, as the Cancel button does.
    void reject() override { cmdCancel_Click(); }

private:
    void cboDomain_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void ListAccounts(const std::string &server, bool groups, BusyCursor &busy);

    std::unique_ptr<Ui::frmTrusted> ui;
    NameList &workList_;
    bool Loading_ = false;
    bool Accepted_ = false;
};
