#include "app/DirectoryPage.h"

#include "app/ChangeFolderDlg.h"
#include "app/SetupApp.h"
#include "framework/ModalSeam.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "resources/ResourceIds.h"
#include "support/FilePath.h"

namespace {

constexpr DWORD kPlatformNT = 2;  // VER_PLATFORM_WIN32_NT

bool RunningOnNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    return ::GetVersionExA(&info) && info.dwPlatformId == kPlatformNT;
}

}  // namespace

DirectoryPage::DirectoryPage() : WizardPage(IDD_DIRECTORY), driveTypes_(SystemDriveTypes()) {}

bool DirectoryPage::OnInitDialog() {
    WizardPage::OnInitDialog();
    // Back to this page keeps what the user last typed.
    if (directoryText.empty()) {
        const SetupApp* app = GetSetupApp();
        const std::string mainName = app && app->destinations ? app->destinations->GetName(DestMain) : std::string();
        DriveEnumerator drives(driveTypes_);
        directoryText = ProposedDirectory(drives, mainName);
    }
    SetDlgItemText(IDC_LOCATION, directoryText);
    return true;
}

bool DirectoryPage::OnCommand(int id, int notifyCode, HWND control) {
    if (id == IDC_DIR_BROWSE && notifyCode == BN_CLICKED) {
        Browse();
        return true;
    }
    return WizardPage::OnCommand(id, notifyCode, control);
}

void DirectoryPage::Browse() {
    directoryText = GetDlgItemText(IDC_LOCATION);
    ChangeFolderDialog dialog(m_hWnd);
    dialog.Run(directoryText, true);
    SetDlgItemText(IDC_LOCATION, directoryText);
}

void DirectoryPage::OnOK() {
    directoryText = GetDlgItemText(IDC_LOCATION);
    FilePath path;
    path.SetFullDirectory(directoryText);
    if (!path.DirectoryExists() && !path.CreateDirectory(true)) {
        SetupApp* app = GetSetupApp();
        const std::string text = SetupApp::LoadText(IDS_CANNOT_CREATE_DIR);
        if (app && app->quietMode)
            app->LogUnattendedEvent(text + " " + directoryText);
        else
            ShowMessageBox(m_hWnd, text, app ? app->setupTitle : std::string(), MB_OK | MB_ICONEXCLAMATION);
        if (app) app->FailUnattendedRun();
        return;
    }
    ApplyDirectory(path.GetPath());
    GoNext();

    SetupApp* app = GetSetupApp();
    if (!app || !app->components) return;
    app->components->SelectBySetupType(SetupType::Typical);
    if (RunningOnNT()) app->components->SetComponentSelected("System95", 0);
}

void DirectoryPage::ApplyDirectory(const std::string& path) {
    SetupApp* app = GetSetupApp();
    if (!app || !app->destinations) return;
    DestinationMap& map = *app->destinations;
    // Resolution only fills paths that are still empty, so the directories
    // derived from an earlier choice are emptied before they are derived
    // from the new one.
    for (Destination& d : map)
        if (derived_.count(d.id)) d.path.Empty();
    if (!resolvedOnce_) {
        for (const Destination& d : map)
            if (d.id != DestMain && d.parent != DestNone && d.path.IsEmpty()) derived_.insert(d.id);
    }
    map.SetPath(DestMain, path);
    map.ResolveDestinations();
    resolvedOnce_ = true;
}
