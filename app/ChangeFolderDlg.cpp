#include "app/ChangeFolderDlg.h"

#include <algorithm>

#include "app/SetupApp.h"
#include "framework/ModalSeam.h"
#include "resources/ResourceIds.h"
#include "support/FilePath.h"

namespace {

// OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_ENABLETEMPLATE
constexpr DWORD kBrowserFlags = 0x54;
// The common dialog would caption a save dialog "Save As".
constexpr char kTitle[] = "Change Folder";

void ShowPathEmpty(HWND owner) {
    const SetupApp* app = GetSetupApp();
    ShowMessageBox(owner, SetupApp::LoadText(IDS_PATH_EMPTY), app ? app->setupTitle : std::string(),
                   MB_OK | MB_ICONEXCLAMATION);
}

// The root of a path's drive, or its directory part is the root.
bool AtRoot(const FilePath& path) {
    const std::string part = path.GetDirectoryPart();
    return part.empty() || part == "\\" || part == "/";
}

}  // namespace

ChangeFolderDialog::ChangeFolderDialog(HWND parent)
    : CFileDialog(false, nullptr, "jet.jet", kBrowserFlags, "AllFiles (*.*) | *.* ||", parent) {
    SetTemplate(IDD_CHANGEFOLDER);
    m_ofn.lpstrTitle = kTitle;
}

bool ChangeFolderDialog::Run(std::string& path, bool editableForm) {
    if (path.empty()) {
        ShowPathEmpty(m_ofn.hwndOwner);
        return false;
    }
    FilePath directory;
    directory.SetFullDirectory(path);
    pathText = path;
    // The read-only form cannot be typed into: it shows the starting path
    // from the first moment, not only after the user moves.
    if (!editableForm) pathLabel = path;
    editable = editableForm ? 1 : 0;

    // Start as close to the typed directory as exists. A drive that does not
    // exist has no ancestor to enter: then start where the process is.
    bool entered = directory.EnterDirectory();
    while (!entered && !AtRoot(directory)) {
        directory.RemoveLastDirectory();
        entered = directory.EnterDirectory();
    }
    startDirectory_ = entered ? directory.GetDirectory() : FilePath(FilePathKind::kCurrentDirectory).GetDirectory();
    SetInitialDirectory(startDirectory_);

    if (DoModal() != IDOK) return false;
    path = pathText;
    return true;
}

bool ChangeFolderDialog::OnInitDialog() {
    // The current directory is shown in full, never shortened to fit.
    if (HWND current = ::GetDlgItem(m_hWnd, IDC_FOLDER_CURDIR)) ::MoveWindow(current, 0, 150, 800, 20, TRUE);
    if (HWND edit = ::GetDlgItem(m_hWnd, IDC_FOLDER_PATH)) ::ShowWindow(edit, editable ? SW_SHOW : SW_HIDE);
    if (HWND label = ::GetDlgItem(m_hWnd, IDC_FOLDER_PATHLABEL)) ::ShowWindow(label, editable ? SW_HIDE : SW_SHOW);
    Centre();
    WriteControls();
    initialised = 1;
    return true;
}

void ChangeFolderDialog::OnLBSelChangedNotify(int, int, int) {
    if (!initialised) return;
    ReadControls();
    pathText = currentDir;
    pathLabel = currentDir;
    WriteControls();
}

UINT_PTR ChangeFolderDialog::OnHookMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) return OnOK() ? 1 : 0;
    return 0;
}

bool ChangeFolderDialog::OnOK() {
    ReadControls();
    if (pathText.empty()) {
        ShowPathEmpty(m_hWnd);
        return true;
    }
    // The directory is neither checked nor created here: the page that
    // asked does that when the user goes on.
    return false;
}

void ChangeFolderDialog::ReadControls() {
    currentDir = GetDlgItemText(IDC_FOLDER_CURDIR);
    pathText = GetDlgItemText(IDC_FOLDER_PATH);
    pathLabel = GetDlgItemText(IDC_FOLDER_PATHLABEL);
}

void ChangeFolderDialog::WriteControls() {
    SetDlgItemText(IDC_FOLDER_CURDIR, currentDir);
    SetDlgItemText(IDC_FOLDER_PATH, pathText);
    SetDlgItemText(IDC_FOLDER_PATHLABEL, pathLabel);
}

void ChangeFolderDialog::Centre() {
    RECT box{};
    ::GetWindowRect(m_hWnd, &box);
    RECT area{};
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner || !::GetWindowRect(owner, &area)) ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int x = area.left + ((area.right - area.left) - width) / 2;
    const int y = area.top + ((area.bottom - area.top) - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, std::max(0, x), std::max(0, y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool PickFolderReadOnly(HWND owner, std::string& directory) {
    ChangeFolderDialog dialog(owner);
    return dialog.Run(directory, false);
}
