#include "archive/DiskettePrompt.h"

#include <cstdio>
#include <vector>

#include "framework/WinApp.h"
#include "resources/ResourceIds.h"

namespace {

// printf-style formatting into a string as long as the result needs: the
// label and the paths come from the profile and the user, so no fixed buffer.
template <class... Args>
std::string Format(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(buffer.data(), buffer.size(), format, args...);
    return buffer.data();
}

std::string LoadText(UINT id) {
    std::vector<char> buffer(1024, '\0');
    const int length = ::LoadStringA(GetResourceInstance(), id, buffer.data(), static_cast<int>(buffer.size()));
    return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string();
}

// `path` made absolute against the current directory; `path` itself when it
// cannot be.
std::string AbsolutePath(const std::string& path) {
    std::vector<char> full(MAX_PATH + 1, '\0');
    const DWORD length = ::GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) return path;
    return full.data();
}

// The directory part of an absolute file path: no trailing backslash except
// for a drive's root. Network paths keep their server and share.
std::string DirectoryOf(const std::string& filePath) {
    const std::size_t cut = filePath.find_last_of("\\/");
    if (cut == std::string::npos) return {};
    std::string directory = filePath.substr(0, cut + 1);
    if (!(directory.size() == 3 && directory[1] == ':')) RemoveTrailingBackslash(directory);
    return directory;
}

DiskettePrompt::FolderPicker& InstalledPicker() {
    static DiskettePrompt::FolderPicker picker;
    return picker;
}

}  // namespace

DiskettePrompt::DiskettePrompt(const FilePath& missingPath, int diskette, const std::string& label, CWnd* parent)
    : ExpandingDialog(IDD_DISKETTE, parent), diskette(diskette), missingFile(missingPath), label(label) {}

bool DiskettePrompt::Ask(const std::string& sourceDir, const std::string& fileName, int diskette,
                         const std::string& label, std::string& location) {
    std::string directory = sourceDir;
    AddTrailingBackslash(directory);
    DiskettePrompt prompt(FilePath(directory + fileName), diskette, label);
    if (prompt.DoModal() != IDOK) return false;
    location = prompt.location;
    return true;
}

DiskettePrompt::FolderPicker DiskettePrompt::SetFolderPicker(FolderPicker picker) {
    FolderPicker previous = std::move(InstalledPicker());
    InstalledPicker() = std::move(picker);
    return previous;
}

std::string DiskettePrompt::RequestLine() const {
    const std::string drive = missingFile.GetDrive();
    if (!label.empty())
        return Format("Please insert the diskette labelled '%s' in drive %s:", label.c_str(), drive.c_str());
    return Format("Please insert diskette %d in drive %s:", diskette, drive.c_str());
}

std::string DiskettePrompt::Explanation() const {
    const std::string format = LoadText(IDS_DISK_EXPLANATION);
    return Format(format.c_str(), missingFile.c_str());
}

INT_PTR DiskettePrompt::DoModal() {
    const bool answered = HasModalAnswerer();
    const INT_PTR result = ExpandingDialog::DoModal();
    if (answered && result == IDOK) location = missingFile.GetDirectory();
    return result;
}

void DiskettePrompt::DescribeForSeam(ModalInteraction& interaction) const {
    ExpandingDialog::DescribeForSeam(interaction);
    interaction.caption = "Insert Diskette";
    interaction.text = RequestLine();
    interaction.details = {Explanation(), missingFile.GetDirectory()};
    interaction.type = MB_OKCANCEL;
}

bool DiskettePrompt::OnInitDialog() {
    const bool result = ExpandingDialog::OnInitDialog();
    SetDlgItemText(IDC_DISK_REQUEST, RequestLine());
    SetDlgItemText(IDC_DISK_EXPLANATION, Explanation());
    // The directory Setup looked in, not the drive's root: a diskette image
    // directory stays one keystroke away from the right place.
    location = missingFile.GetDirectory();
    SetDlgItemText(IDC_LOCATION, location);
    CenterWindow();
    return result;
}

void DiskettePrompt::DoDataExchange(CDataExchange& dx) { DDX_Text(dx, IDC_LOCATION, location); }

bool DiskettePrompt::OnCommand(int id, int notifyCode, HWND control) {
    if (notifyCode == BN_CLICKED) {
        switch (id) {
        case IDC_DISK_BROWSE:
            OnBrowse();
            return true;
        case IDC_DISK_SKIP:
            // Offered, but a file cannot be skipped from here.
            return true;
        default:
            break;
        }
    }
    return ExpandingDialog::OnCommand(id, notifyCode, control);
}

std::string DiskettePrompt::FindFileIn(const std::string& typedLocation) const {
    // An empty location would look in the current directory, which the user
    // never named.
    if (typedLocation.empty()) return {};
    std::string directory = typedLocation;
    AddTrailingBackslash(directory);
    const FilePath candidate(directory + missingFile.GetFileName());
    if (candidate.IsTooLong() || !candidate.Exists()) return {};
    // The location becomes the source directory for the files that follow:
    // make a typed relative path absolute while the current directory still
    // means what the user saw.
    return DirectoryOf(AbsolutePath(candidate.GetPath()));
}

void DiskettePrompt::OnOK() {
    if (!UpdateData(true)) return;
    const std::string found = FindFileIn(location);
    if (found.empty()) {
        SignalFileMissing();
        return;
    }
    location = found;
    EndDialog(IDOK);
}

void DiskettePrompt::SignalFileMissing() {
    ::FlashWindow(m_hWnd, TRUE);
    ::FlashWindow(m_hWnd, FALSE);
    ::MessageBeep(MB_ICONASTERISK);
}

void DiskettePrompt::OnBrowse() {
    if (!UpdateData(true)) return;
    if (location.empty()) {
        ShowMessageBox(m_hWnd, LoadText(IDS_PATH_EMPTY), GetWindowText(), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Start in the location, or in its nearest ancestor that can be entered.
    FilePath start;
    start.SetFullDirectory(AbsolutePath(location));
    while (!start.EnterDirectory()) {
        const std::string before = start.GetPath();
        start.RemoveLastDirectory();
        if (start.GetPath() == before) break;  // the root itself cannot be entered
    }
    std::string directory = start.GetDirectory();
    const FolderPicker& picker = InstalledPicker();
    // The browser is the program's one "Change Folder" dialog, installed at
    // start-up; the archive layer does not build windows of the wizard.
    const bool chosen = picker && picker(m_hWnd, directory);
    if (chosen) location = directory;
    UpdateData(false);
}
