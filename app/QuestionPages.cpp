#include "app/QuestionPages.h"

#include <vector>

#include "app/SetupApp.h"
#include "resources/ResourceIds.h"

UninstallWelcomePage::UninstallWelcomePage() : WizardPage(IDD_UNINSTALL_WELCOME) {}

ConditionsPage::ConditionsPage() : WizardPage(IDD_CONDITIONS) {}

bool ConditionsPage::OnInitDialog() {
    WizardPage::OnInitDialog();
    const SetupApp* app = GetSetupApp();
    if (!app || !app->ignoreConditions) nextPageId = IDD_FAILED;
    return true;
}

void ConditionsPage::DoDataExchange(CDataExchange& dx) { DDX_Text(dx, IDC_REQUIREMENTS, requirementsText); }

GroupPage::GroupPage() : WizardPage(IDD_GROUP) {}

bool GroupPage::OnInitDialog() {
    WizardPage::OnInitDialog();
    SetupApp* app = GetSetupApp();
    if (app && !app->batchMode) {
        for (const std::string& name : app->Services().ListProgramGroups())
            SendDlgItemMessage(IDC_GROUPLIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    // A batch run keeps the default group too: its automatic Next reads
    // this edit, and an unattended install must not make a nameless group.
    if (app) SetDlgItemText(IDC_GROUPNAME, app->groupName);
    CheckRadioButton(m_hWnd, IDC_NEWGROUP, IDC_EXISTINGGROUP, IDC_NEWGROUP);
    return true;
}

bool GroupPage::OnCommand(int id, int notifyCode, HWND control) {
    switch (id) {
    case IDC_GROUPLIST:
        if (notifyCode == LBN_SELCHANGE) CheckRadioButton(m_hWnd, IDC_NEWGROUP, IDC_EXISTINGGROUP, IDC_EXISTINGGROUP);
        return true;
    case IDC_GROUPNAME:
        // Filling the edit at start-up changes it too; that checks the
        // radio button that is checked anyway.
        if (notifyCode == EN_CHANGE) CheckRadioButton(m_hWnd, IDC_NEWGROUP, IDC_EXISTINGGROUP, IDC_NEWGROUP);
        return true;
    case IDC_EXISTINGGROUP:
        if (notifyCode == BN_CLICKED && SendDlgItemMessage(IDC_GROUPLIST, LB_GETCURSEL) == LB_ERR)
            SendDlgItemMessage(IDC_GROUPLIST, LB_SETCURSEL, 0);
        return false;
    default:
        return WizardPage::OnCommand(id, notifyCode, control);
    }
}

void GroupPage::OnOK() {
    std::string name;
    if (IsDlgButtonChecked(IDC_NEWGROUP)) {
        name = GetDlgItemText(IDC_GROUPNAME);
    } else {
        const LRESULT index = SendDlgItemMessage(IDC_GROUPLIST, LB_GETCURSEL);
        if (index != LB_ERR) {
            const LRESULT length = SendDlgItemMessage(IDC_GROUPLIST, LB_GETTEXTLEN, static_cast<WPARAM>(index));
            if (length != LB_ERR) {
                std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
                SendDlgItemMessage(IDC_GROUPLIST, LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(buffer.data()));
                name = buffer.data();
            }
        }
    }
    if (SetupApp* app = GetSetupApp()) app->groupName = name;
    GoNext();
}

RestartPage::RestartPage() : WizardPage(IDD_RESTART) {}

bool RestartPage::OnCommand(int id, int notifyCode, HWND control) {
    if (notifyCode == BN_CLICKED && id == IDC_DONTRESTART) {
        OnOK();
        return true;
    }
    if (notifyCode == BN_CLICKED && id == IDC_RESTART) {
        // A refused restart has been said; the page stays for another try.
        if (SetupApp* app = GetSetupApp()) app->Services().RestartSystem();
        return true;
    }
    return WizardPage::OnCommand(id, notifyCode, control);
}
