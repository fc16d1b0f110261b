#pragma once
// Pages that wait for the user: the welcome pages, install conditions,
// program group, the final pages and the restart page.

#include <string>

#include "app/WizardPage.h"

// 1545 "You have chosen to remove Tessaly Viewer.": Cancel needs no
// confirmation here, since nothing has been touched yet.
class UninstallWelcomePage : public WizardPage {
public:
    UninstallWelcomePage();
    bool ConfirmCancel() override { return true; }
};

// 1537 "Install Conditions": shown only when the requirements are not met;
// then it lists them and, unless "I" was given, Continue ends on the
// failure page.
class ConditionsPage : public WizardPage {
public:
    ConditionsPage();
    // This product's requirements are always met.
    virtual bool RequirementsMet() { return true; }
    bool IsApplicable() override { return !RequirementsMet(); }

    std::string requirementsText;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
};

// 106 "Select Program Item Group": a new group name or an existing group.
class GroupPage : public WizardPage {
public:
    GroupPage();
    void OnOK() override;

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
};

// 1558 restart page: Restart asks the system to restart; Don't Restart
// ends Setup like the OK of a final page.
class RestartPage : public WizardPage {
public:
    RestartPage();

protected:
    bool OnCommand(int id, int notifyCode, HWND control) override;
};
