// A whole batch install by the built SETUP.EXE, with a profile that lists
// no files: what the run leaves in the system (registration, program item,
// install log) is what the later uninstall will rely on.

#include <windows.h>

#include <gtest/gtest.h>

#include "TestEnvironment.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/FilePath.h"
#include "system/ProgramGroups.h"
#include "system/RegistrationText.h"

namespace {

constexpr DWORD kExitTimeoutMs = 60000;  // only stops a hung run

constexpr const char* kKitDir = "C:\\tvs-wire-kit";
// The directory page proposes the first fixed disk with destination 0's name,
// and a batch run takes the proposal.
constexpr const char* kMainDir = "C:\\TYVIEWER";
constexpr const char* kProduct = "Tessaly Viewer";
constexpr const char* kGroup = "Tessaly Viewer";  // the default group; a batch run keeps it

std::string WindowsDir() {
    char buffer[MAX_PATH + 1] = "";
    ::GetWindowsDirectoryA(buffer, MAX_PATH);
    return buffer;
}

std::string LogPath() { return WindowsDir() + "\\TYViewer.log"; }

std::vector<std::string> AllExtensions() {
    std::vector<std::string> all = regtext::SplitExtensionList(regtext::kExtensionList1);
    for (const std::string& e : regtext::SplitExtensionList(regtext::kExtensionList2)) all.push_back(e);
    return all;
}

// A string value, or nothing when the key or the value is missing.
std::optional<std::string> ReadString(HKEY root, const std::string& key, const char* name) {
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

std::string ProfileValue(const std::string& file, const char* section, const char* key) {
    char buffer[1024] = "";
    ::GetPrivateProfileStringA(section, key, "<missing>", buffer, sizeof buffer, file.c_str());
    return buffer;
}

// The values of one section of a profile file, in file order.
std::vector<std::string> SectionValues(const std::string& file, const char* section) {
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

// Everything the run can touch, saved before and put back after: an
// existing log is moved aside, the registry entries and the program item
// are removed, the associations get their old default values back.
class SystemState {
public:
    SystemState() {
        ::DeleteFileA(AsideLogPath().c_str());
        hadLog_ = ::MoveFileA(LogPath().c_str(), AsideLogPath().c_str()) != FALSE;
        for (const std::string& extension : AllExtensions())
            associations_.push_back({extension, ReadString(HKEY_CLASSES_ROOT, extension, nullptr)});
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
    }
    SystemState(const SystemState&) = delete;
    SystemState& operator=(const SystemState&) = delete;

private:
    static std::string AsideLogPath() { return LogPath() + ".wiring-aside"; }
    static void RemoveRunTraces() {
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::AppPathKey("tyviewer.exe").c_str());
        ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::UninstallKey(kProduct).c_str());
        ProgramGroups groups;
        groups.DeleteItem(kGroup, "Tessaly Viewer");
        groups.DeleteItem(kGroup, "Sample molecules");
        groups.DeleteGroup(kGroup);
    }

    bool hadLog_ = false;
    std::vector<std::pair<std::string, std::optional<std::string>>> associations_;
};

// The kit: Setup's profile in a directory of its own, with directories,
// components without files, two program items (one whose file counts as
// installed, one whose file does not) and the diskettes.
class Kit {
public:
    Kit() {
        ::CreateDirectoryA(kKitDir, nullptr);
        const std::string p = Profile();
        ::DeleteFileA(p.c_str());
        Write("destinations", "0", std::string("TYVIEWER|-1|") + kMainDir);
        Write("destinations", "3", "SAMPLES|0|");
        Write("groups", "Viewer", "Tessaly Viewer|The program|1|1|1");
        Write("groups", "Samples", "Sample molecules|Examples|0|1|1");
        Write("targets", "tyviewer.exe",
              std::string("0|1|0|Tessaly Viewer||tyviewer.exe|") + kMainDir + "\\tyviewer.exe");
        Write("targets", "samples.exe", "0|2|1|Sample molecules|||");
        Write("diskettes", "1", "Tessaly Viewer Disk 1|");
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, p.c_str());
    }
    ~Kit() {
        ::DeleteFileA(Profile().c_str());
        ::RemoveDirectoryA(kKitDir);
    }
    Kit(const Kit&) = delete;
    Kit& operator=(const Kit&) = delete;

private:
    static std::string Profile() { return std::string(kKitDir) + "\\SETUP.ini"; }
    static void Write(const char* section, const char* key, const std::string& value) {
        ::WritePrivateProfileStringA(section, key, value.c_str(), Profile().c_str());
    }
};

// Runs SETUP.EXE with the arguments and returns its exit code; -1 when it
// could not be started or did not end in time.
long RunSetup(const std::string& arguments) {
    std::string commandLine = "\"" + testenv::BuiltFile("app\\SETUP.EXE") + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    long code = -1;
    if (::WaitForSingleObject(info.hProcess, kExitTimeoutMs) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        ::GetExitCodeProcess(info.hProcess, &exitCode);
        code = static_cast<long>(exitCode);
    } else {
        ::TerminateProcess(info.hProcess, 99);
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return code;
}

TEST(BatchRunWiringTest, BatchInstallRegistersCreatesItemsAndWritesTheLog) {
    SystemState state;
    Kit kit;

    // Exit code 0: the run ended on the finished page, not the failure page.
    ASSERT_EQ(RunSetup(std::string("/B /D:") + kKitDir), 0);

    // Registration.
    const std::string appPath = regtext::AppPathKey("tyviewer.exe");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, appPath, nullptr), std::string(kMainDir) + "\\tyviewer.exe");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, appPath, "Path"), std::string(kMainDir));
    const std::string uninstall = regtext::UninstallKey(kProduct);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, uninstall, "UninstallString"),
              std::string(kMainDir) + "\\SETUP.EXE /U");
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, uninstall, "DisplayName"), std::string(kProduct));
    for (const std::string& extension : AllExtensions()) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, extension, nullptr), std::string(regtext::kMoleculeClass));
    }

    // The program item of the installed file, and none for the other.
    ProgramGroups groups;
    if (groups.UsesShellLinks()) {
        EXPECT_NE(::GetFileAttributesA(groups.LinkFile(kGroup, "Tessaly Viewer").GetPath().c_str()),
                  INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(::GetFileAttributesA(groups.LinkFile(kGroup, "Sample molecules").GetPath().c_str()),
                  INVALID_FILE_ATTRIBUTES);
    }

    // The log's state sections, as the uninstall will read them back.
    const std::string log = LogPath();
    ASSERT_NE(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES) << log;
    EXPECT_EQ(ProfileValue(log, "destinations", "0"), std::string("TYVIEWER|-1|") + kMainDir + "\\");
    // Resolved below the main directory by the directory page.
    EXPECT_EQ(ProfileValue(log, "destinations", "3"), std::string("SAMPLES|0|") + kMainDir + "\\SAMPLES\\");
    EXPECT_EQ(ProfileValue(log, "groups", "Viewer"), "Tessaly Viewer|The program|1|1|1");
    EXPECT_EQ(ProfileValue(log, "groups", "Samples"), "Sample molecules|Examples|0|1|1");
    EXPECT_EQ(ProfileValue(log, "targets", "tyviewer.exe"),
              std::string("0|1|0|Tessaly Viewer||tyviewer.exe|") + kMainDir + "\\tyviewer.exe");
    // Only items that were created go back to the log.
    EXPECT_EQ(ProfileValue(log, "targets", "samples.exe"), "<missing>");

    // No status interface is installed here, so the report could not be made.
    const std::vector<std::string> events = SectionValues(log, "Events");
    EXPECT_EQ(std::count(events.begin(), events.end(), "Could not write SMS status."), 1);
}

}  // namespace
