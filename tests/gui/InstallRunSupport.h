#pragma once
// What the tests that run the built SETUP.EXE as a process share: reading
// what a run left (registry values, the install log), putting the system
// back as it was, starting and driving the run, and kits of diskette
// directories written by code.

#include <windows.h>

#include <gtest/gtest.h>

#include "FileTreeSupport.h"
#include "ProcessSupport.h"
#include "TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "resources/ResourceIds.h"
#include "system/ProgramGroups.h"
#include "system/RegistrationText.h"
#include "tools/guidriver/GuiDriver.h"

namespace installrun {

// Generous bounds for a loaded machine; they only stop a hung run.
constexpr DWORD kWindowTimeoutMs = 60000;
using testproc::kExitTimeoutMs;

constexpr const char* kProduct = "Tessaly Viewer";
// The directory page proposes the first fixed disk with destination 0's
// name, and a batch run takes the proposal.
constexpr const char* kProposedMainDir = "C:\\TYVIEWER";
constexpr const char* kDefaultGroup = "Tessaly Viewer";
constexpr const char* kPendingRenamesKey = "System\\CurrentControlSet\\Control\\Session Manager";
constexpr const char* kPendingRenamesValue = "PendingFileRenameOperations";

inline std::string WindowsDir() {
    char buffer[MAX_PATH + 1] = "";
    ::GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

inline std::string SystemDir() {
    char buffer[MAX_PATH + 1] = "";
    ::GetSystemDirectoryA(buffer, MAX_PATH);
    return buffer;
}

inline std::string LogPath() { return WindowsDir() + "\\TYViewer.log"; }

using filetree::Exists;
using filetree::FilesBelow;

inline std::vector<std::string> AllExtensions() {
    std::vector<std::string> all = regtext::SplitExtensionList(regtext::kExtensionList1);
    for (const std::string& e : regtext::SplitExtensionList(regtext::kExtensionList2)) all.push_back(e);
    return all;
}

// A string value, or nothing when the key or the value is missing.
inline std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* name) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1;
    DWORD type = 0;
    const LONG result = ::RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    ::RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    return std::string(buffer);
}

inline std::optional<DWORD> ReadDword(HKEY root, const std::string& key, const std::string& name) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = 0;
    const LONG result =
        ::RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_DWORD) return std::nullopt;
    return value;
}

inline bool KeyExists(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    if (::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    ::RegCloseKey(handle);
    return true;
}

inline std::string ProfileValue(const std::string& file, const char* section, const char* key) {
    char buffer[1024] = "";
    ::GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, file.c_str());
    return buffer;
}

// The values of one section of a profile file, in file order.
inline std::vector<std::string> SectionValues(const std::string& file, const char* section) {
    std::vector<char> buffer(32768, '\0');
    const DWORD length =
        ::GetPrivateProfileSectionA(section, buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> values;
    for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        const std::string line = buffer.data() + at;
        at += static_cast<DWORD>(line.size()) + 1;
        const std::string::size_type equals = line.find('=');
        values.push_back(equals == std::string::npos ? line : line.substr(equals + 1));
    }
    return values;
}

// The keys of one section of a profile file, in file order.
inline std::vector<std::string> SectionKeys(const std::string& file, const char* section) {
    std::vector<char> buffer(32768, '\0');
    const DWORD length = ::GetPrivateProfileStringA(section, nullptr, "", buffer.data(),
                                                    static_cast<DWORD>(buffer.size()), file.c_str());
    std::vector<std::string> keys;
    for (DWORD at = 0; at < length && buffer[at] != '\0';) {
        keys.emplace_back(buffer.data() + at);
        at += static_cast<DWORD>(keys.back().size()) + 1;
    }
    return keys;
}

inline bool HasSection(const std::string& file, const char* section) {
    std::vector<char> names(32768, '\0');
    const DWORD length =
        ::GetPrivateProfileSectionNamesA(names.data(), static_cast<DWORD>(names.size()), file.c_str());
    for (DWORD at = 0; at < length && names[at] != '\0';) {
        const std::string name = names.data() + at;
        if (::lstrcmpiA(name.c_str(), section) == 0) return true;
        at += static_cast<DWORD>(name.size()) + 1;
    }
    return false;
}

// What a run can leave behind besides the log, the registration and the
// associations, which are always cleaned.
struct RunTraces {
    std::vector<std::pair<std::string, std::string>> items;  // group, item name
    std::vector<std::string> groups;
    std::vector<std::string> directories;  // removed with everything in them
    std::vector<std::string> systemFiles;  // names in the System directory, with their shared counts
};

inline RunTraces DefaultTraces() {
    RunTraces traces;
    traces.items = {{kDefaultGroup, "Tessaly Viewer"}, {kDefaultGroup, "Sample molecules"}};
    traces.groups = {kDefaultGroup};
    return traces;
}

// Everything the run can touch, saved before and put back after: an
// existing log is moved aside, the registry entries, program items and
// installed files are removed, the associations and the delayed moves get
// their old values back.
class SystemState {
public:
    explicit SystemState(RunTraces traces = DefaultTraces()) : traces_(std::move(traces)) {
        ::DeleteFileA(AsideLogPath().c_str());
        hadLog_ = ::MoveFileA(LogPath().c_str(), AsideLogPath().c_str()) != FALSE;
        for (const std::string& extension : AllExtensions())
            associations_.push_back({extension, ReadString(HKEY_CLASSES_ROOT, extension, nullptr)});
        pendingRenames_ = ReadPendingRenames();
        RemoveRunTraces();
    }
    ~SystemState() {
        RemoveRunTraces();
        ::DeleteFileA(LogPath().c_str());
        if (hadLog_) ::MoveFileA(AsideLogPath().c_str(), LogPath().c_str());
        for (const auto& [extension, value] : associations_) {
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, extension.c_str());
            if (value) ::RegSetValueA(HKEY_CLASSES_ROOT, extension.c_str(), REG_SZ, value->c_str(), 0);
        }
        WritePendingRenames(pendingRenames_);
    }
    SystemState(const SystemState&) = delete;
    SystemState& operator=(const SystemState&) = delete;

    // Removes what a run left, between two runs of one test.
    void RemoveRunTraces() {
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::AppPathKey("tyviewer.exe").c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct).c_str());
        ProgramGroups groups;
        for (const auto& [group, item] : traces_.items) groups.DeleteItem(group, item);
        for (const std::string& group : traces_.groups) {
            groups.DeleteGroup(group);
            if (groups.UsesShellLinks()) RemoveTree(groups.GroupFolder(group).GetPath());
        }
        for (const std::string& directory : traces_.directories) RemoveTree(directory);
        HKEY shared = nullptr;
        const bool haveShared =
            ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, 0, KEY_SET_VALUE, &shared) == ERROR_SUCCESS;
        for (const std::string& name : traces_.systemFiles) {
            const std::string path = SystemDir() + "\\" + name;
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
            if (haveShared) ::RegDeleteValueA(shared, path.c_str());
        }
        if (haveShared) ::RegCloseKey(shared);
    }

    // Removes `path` with everything in it. The shell may still hold a
    // file that a new link points at (it reads the icon), so a failed
    // removal is tried again for a while.
    static void RemoveTree(const std::string& path) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            filetree::RemoveTree(path);
            if (!Exists(path)) return;
            ::Sleep(100);
        }
    }

private:
    static std::string AsideLogPath() { return LogPath() + ".e2e-aside"; }

    static std::optional<std::vector<BYTE>> ReadPendingRenames() {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPendingRenamesKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return std::nullopt;
        DWORD size = 0;
        DWORD type = 0;
        std::optional<std::vector<BYTE>> value;
        if (::RegQueryValueExA(key, kPendingRenamesValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<BYTE> data(size + 2, 0);
            if (::RegQueryValueExA(key, kPendingRenamesValue, nullptr, &type, data.data(), &size) == ERROR_SUCCESS) {
                data.resize(size);
                value = std::move(data);
            }
        }
        ::RegCloseKey(key);
        return value;
    }

    static void WritePendingRenames(const std::optional<std::vector<BYTE>>& value) {
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPendingRenamesKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        if (value)
            ::RegSetValueExA(key, kPendingRenamesValue, 0, REG_MULTI_SZ, value->data(),
                             static_cast<DWORD>(value->size()));
        else
            ::RegDeleteValueA(key, kPendingRenamesValue);
        ::RegCloseKey(key);
    }

    RunTraces traces_;
    bool hadLog_ = false;
    std::vector<std::pair<std::string, std::optional<std::string>>> associations_;
    std::optional<std::vector<BYTE>> pendingRenames_;
};

using testproc::KeepLinksInThePrefix;
using testproc::Process;
using testproc::Quoted;

// The visible dialog titled `title` of the run's thread whose control
// `requiredControl` exists; null on timeout.
inline HWND WaitForDialog(const Process& run, const std::string& title, int requiredControl) {
    return guidriver::WaitForWindow(title, kWindowTimeoutMs, requiredControl, "#32770", run.ThreadId());
}

// The page's button bar, once the page has made it.
inline HWND WaitForBar(HWND page) {
    for (int i = 0; i < 600; ++i) {
        if (HWND bar = ::FindWindowExA(page, nullptr, "#32770", nullptr)) return bar;
        ::Sleep(50);
    }
    return nullptr;
}

// The text of control `id`, once the program has put one there.
inline std::string WaitForText(HWND window, int id) {
    for (int i = 0; i < 600; ++i) {
        const std::string text = guidriver::ControlText(window, id);
        if (!text.empty()) return text;
        ::Sleep(50);
    }
    return std::string();
}

inline bool WaitForFile(const std::string& path) {
    for (DWORD waited = 0; waited < kExitTimeoutMs; waited += 20) {
        if (Exists(path)) return true;
        ::Sleep(20);
    }
    return false;
}

// A button pressed without waiting for what it starts (a question would
// keep a synchronous click from returning).
inline void PostClick(HWND window, int id) {
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, id)));
}

// Types `text` into the edit `id` as a replacement of its whole content.
inline void TypeInto(HWND window, int id, const std::string& text) {
    ::SendMessageA(::GetDlgItem(window, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Answers the Yes/No question titled `title` (the copy page has that title
// too, but no No button).
inline bool AnswerQuestion(const Process& run, const std::string& title, int button) {
    HWND box = WaitForDialog(run, title, IDNO);
    return box && guidriver::Click(box, button);
}

// Presses Next on the page titled `title`; false when the page or its bar
// does not come.
inline bool NextOn(const Process& run, const std::string& title) {
    HWND page = WaitForDialog(run, title, 0);
    if (!page) return false;
    HWND bar = WaitForBar(page);
    if (!bar) return false;
    PostClick(bar, IDC_NEXT);
    return true;
}

// A kit as the user gets it: diskette directories DISK01, DISK02 under a
// directory on C:, with a copy of the built SETUP.EXE and its profile
// SETUP.ini in DISK01. Setup finds the profile by its own name and takes
// its own directory as the source.
class DisketteKit {
public:
    explicit DisketteKit(const std::string& name) : root_("C:\\tvs-e2e-" + name) {
        SystemState::RemoveTree(root_);
        ::CreateDirectoryA(root_.c_str(), nullptr);
        ::CreateDirectoryA(Disk(1).c_str(), nullptr);
        ::CreateDirectoryA(Disk(2).c_str(), nullptr);
        ::CopyFileA(testenv::BuiltFile("app\\SETUP.EXE").c_str(), SetupExe().c_str(), FALSE);
    }
    ~DisketteKit() { SystemState::RemoveTree(root_); }
    DisketteKit(const DisketteKit&) = delete;
    DisketteKit& operator=(const DisketteKit&) = delete;

    std::string Root() const { return root_; }
    std::string Dir(const std::string& name) const {
        const std::string dir = root_ + "\\" + name;
        ::CreateDirectoryA(dir.c_str(), nullptr);
        return dir;
    }
    std::string Disk(int number) const {
        char name[16];
        std::snprintf(name, sizeof name, "DISK%02d", number);
        return root_ + "\\" + name;
    }
    std::string SetupExe() const { return Disk(1) + "\\SETUP.EXE"; }
    std::string Profile() const { return Disk(1) + "\\SETUP.ini"; }

    void Write(const char* section, const std::string& key, const std::string& value) const {
        ::WritePrivateProfileStringA(section, key.c_str(), value.c_str(), Profile().c_str());
    }
    void Flush() const { ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, Profile().c_str()); }

    // Starts DISK01\SETUP.EXE as the user would, with `arguments`.
    std::string CommandLine(const std::string& arguments) const {
        Flush();
        return Quoted(SetupExe()) + (arguments.empty() ? "" : " " + arguments);
    }
    long RunBatch() const {
        Process run(CommandLine("/B"));
        return run.Wait();
    }

private:
    std::string root_;
};

}  // namespace installrun
