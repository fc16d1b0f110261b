#include "system/ProgramGroups.h"

#include <objbase.h>
#include <shlguid.h>

#include <vector>

#include "system/RegistrationText.h"
#include "system/RegistryKey.h"

namespace {

// The path in UTF-16 with its terminator; empty when it cannot be
// converted. A vector rather than std::wstring: the wide string class would
// bring tens of kilobytes of runtime into a program that needs it once.
std::vector<wchar_t> ToWide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (n <= 0) {
        return {};
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(n));
    if (MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer.data(), n) != n) {
        return {};
    }
    return buffer;
}

class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() {
        char buffer[MAX_PATH];
        DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
        if (n > 0 && n < sizeof buffer) {
            saved.assign(buffer, n);
        }
    }
    ~CurrentDirectoryKeeper() {
        if (!saved.empty()) {
            SetCurrentDirectoryA(saved.c_str());
        }
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

private:
    std::string saved;
};

}  // namespace

DWORD ProgramGroups::SystemMajorVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) {
        return 0;
    }
    return info.dwMajorVersion;
}

ProgramGroups::ProgramGroups() : ProgramGroups(SystemMajorVersion()) {}

ProgramGroups::ProgramGroups(DWORD majorVersion, std::string service)
    : ProgmanGroups(std::move(service)), useShellLinks(majorVersion > 3) {
    RegistryString programs(HKEY_CURRENT_USER, regtext::kShellFoldersKey, "Programs", "", true,
                            false);
    std::string folder = programs.Get();
    if (folder.empty()) {
        FilePath windows(FilePathKind::kWindowsDirectory);
        folder = windows.GetPath();
        RemoveTrailingBackslash(folder);
        folder += "\\Start Menu\\Programs";
    }
    AddTrailingBackslash(folder);
    programsFolder = folder;
}

ProgramGroups::~ProgramGroups() {
    if (persistFile != nullptr) {
        persistFile->Release();
    }
    if (shellLink != nullptr) {
        shellLink->Release();
    }
    if (comInitialized) {
        CoUninitialize();
    }
}

FilePath ProgramGroups::GroupFolder(const std::string& group) const {
    FilePath folder = programsFolder;
    folder.AppendDirectory(group);
    return folder;
}

bool ProgramGroups::IsLinkInProgramsFolder(const std::string& group, const std::string& itemName) {
    // Group and item names come from the profile, the user and, on removal,
    // the install log: none of them may lead a link, or a delete, out of the
    // Programs folder ("..\\..\\Startup") or onto a device ("CON.lnk").
    // An empty group, which the user may choose, puts the links straight
    // into the Programs folder.
    return (group.empty() || IsPlainFolderPath(group)) && IsPlainFileName(itemName);
}

FilePath ProgramGroups::LinkFile(const std::string& group, const std::string& itemName) const {
    // The item name becomes the file name and "lnk" its extension, so the
    // text after a dot in the name is replaced: "Viewer 2.0" is saved as
    // "Viewer 2.lnk". DeleteItem builds the same name, and so do the links
    // that earlier installs left for their uninstalls to find.
    FilePath link = GroupFolder(group);
    link.SetFileName(itemName);
    link.SetExtension("lnk");
    return link;
}

bool ProgramGroups::EnsureShellLink() {
    if (persistFile != nullptr) {
        return true;
    }
    if (!comInitialized) {
        HRESULT hr = CoInitialize(nullptr);
        // S_FALSE: already initialised on this thread; it still needs its
        // matching CoUninitialize.
        if (FAILED(hr)) {
            return false;
        }
        comInitialized = true;
    }
    if (shellLink == nullptr &&
        FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink)))) {
        shellLink = nullptr;
        return false;
    }
    if (FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persistFile)))) {
        persistFile = nullptr;
        return false;
    }
    return true;
}

bool ProgramGroups::AddProgramItem(const std::string& group, const std::string& programPath,
                                   const std::optional<std::string>& arguments,
                                   const std::string& itemName, const std::string& iconFile,
                                   int iconIndex, const std::string& workingDirectory,
                                   int showCommand, int secondShowValue) {
    if (!useShellLinks) {
        return AddItem(group, programPath, arguments, itemName, iconFile, iconIndex, showCommand,
                       secondShowValue);
    }
    if (!EnsureShellLink()) {
        return false;
    }
    if (!IsLinkInProgramsFolder(group, itemName)) {
        return false;
    }
    const std::string directory =
        workingDirectory.empty() ? FilePath(programPath).GetDirectory() : workingDirectory;
    const FilePath folder = GroupFolder(group);
    const FilePath link = LinkFile(group, itemName);
    if (link.IsTooLong()) {
        return false;
    }
    {
        // Creating a folder that exists makes it the current directory,
        // and a current directory cannot be removed: DeleteGroup would fail
        // later in this process. Keep the current directory where it was.
        CurrentDirectoryKeeper keep;
        if (!folder.CreateDirectory(true)) {
            return false;
        }
    }
    shellLink->SetPath(programPath.c_str());
    shellLink->SetArguments(arguments ? arguments->c_str() : "");
    shellLink->SetDescription(itemName.c_str());
    shellLink->SetWorkingDirectory(directory.c_str());
    shellLink->SetIconLocation(iconFile.c_str(), iconIndex);
    const std::vector<wchar_t> wide = ToWide(link.GetPath());
    return !wide.empty() && SUCCEEDED(persistFile->Save(wide.data(), TRUE));
}

bool ProgramGroups::DeleteItem(const std::string& group, const std::string& itemName) {
    if (!useShellLinks) {
        return ProgmanGroups::DeleteItem(group, itemName);
    }
    if (!IsLinkInProgramsFolder(group, itemName)) {
        return false;
    }
    return LinkFile(group, itemName).Delete(true);
}

bool ProgramGroups::DeleteGroup(const std::string& group) {
    if (!useShellLinks) {
        return ProgmanGroups::DeleteGroup(group);
    }
    // An empty name would name the Programs folder itself, and ".." its
    // parent.
    if (!IsPlainFolderPath(group)) {
        return false;
    }
    return GroupFolder(group).RemoveDirectory();
}
