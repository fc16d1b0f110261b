// A whole batch install by the built SETUP.EXE, with a profile that lists
// no files: what the run leaves in the system (registration, program item,
// install log) is what the later uninstall will rely on.

#include <windows.h>

#include <gtest/gtest.h>

#include "InstallRunSupport.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace installrun;

namespace {

constexpr const char* kKitDir = "C:\\tvs-wire-kit";
constexpr const char* kMainDir = kProposedMainDir;
constexpr const char* kGroup = kDefaultGroup;  // a batch run keeps it

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
    Process run(Quoted(testenv::BuiltFile("app\\SETUP.EXE")) + " " + arguments);
    return run.Wait();
}

TEST(BatchRunWiringTest, BatchInstallRegistersCreatesItemsAndWritesTheLog) {
    RunTraces traces = DefaultTraces();
    traces.directories = {kMainDir};
    SystemState state(traces);
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
