// The removal pass on real files, a real log file, the registry's shared
// counts and shell-link program groups.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "SystemTestSupport.h"
#include "profile/PrivateProfile.h"
#include "profile/ProfileFields.h"
#include "system/ProgramGroups.h"
#include "system/RegistrationText.h"
#include "system/SharedDllCount.h"
#include "uninstall/RemovalPass.h"
#include "uninstall/SystemRemovalActions.h"

namespace {

using systest::FileExists;
using systest::WriteFileText;

bool IsDirectory(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The shared count of `path`, or -1 when it has no value.
long SharedCount(const std::string& path) {
    DWORD type = 0;
    std::string data;
    if (!systest::ReadRaw(HKEY_LOCAL_MACHINE, regtext::kSharedDllsKey, path, type, data)) return -1;
    if (type != REG_DWORD || data.size() != sizeof(DWORD)) return -2;
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return static_cast<long>(value);
}

void SetSharedCount(const std::string& path, int count) {
    {
        SharedDllCount reset(path);
        while (reset.InUse()) reset.Decrement();
    }
    SharedDllCount raise(path);
    for (int i = 0; i < count; ++i) raise.Increment();
}

// An install in a scratch directory: main directory, a nested samples
// directory, a stand-in System directory, and the log describing them.
class RemovalSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = systest::ScratchDir(std::string("removal-") +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        mainDir = root + "Tessaly Viewer\\";
        samplesDir = mainDir + "Samples\\";
        systemDir = root + "system\\";
        for (const std::string& dir : {mainDir, samplesDir, systemDir}) CreateDirectoryA(dir.c_str(), nullptr);
        destinations = std::make_unique<DestinationMap>(root, systemDir, root);
        destinations->SetPath(0, mainDir);
        destinations->SetPath(1, samplesDir);
        auto component = std::make_unique<Component>();
        component->key = "Program";
        components.Add(std::move(component));
        logPath = root + "TYViewer.log";
    }
    void TearDown() override {
        for (const std::string& path : sharedPaths) SetSharedCount(path, 0);
    }

    void Install(const std::string& name, DestinationId id, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
        const std::string path = destinations->GetPath(id) + name;
        ASSERT_TRUE(WriteFileText(path, "installed " + name));
        SetFileAttributesA(path.c_str(), attributes);
        LogLine(name, std::to_string(id) + "|1|0");
    }
    void LogLine(const std::string& key, const std::string& value) {
        WritePrivateProfileStringA("Program", key.c_str(), value.c_str(), logPath.c_str());
    }

    RemovalOutcome Run(const SystemRemovalActions::Progress& progress = nullptr, const std::string& group = "") {
        PrivateProfile log{FilePath(logPath)};
        SystemRemovalActions actions(progress, [this] { ++pumps; });
        RemovalRequest request;
        request.groupName = group;
        request.sparedNames = {"SETUP.EXE", kCleanupProgramName};
        return RemovalPass(log, *destinations, components, targets, actions).Run(request);
    }

    std::string root, mainDir, samplesDir, systemDir, logPath;
    std::unique_ptr<DestinationMap> destinations;
    ComponentMap components;
    TargetMap targets;
    std::vector<std::string> sharedPaths;
    int pumps = 0;
};

TEST_F(RemovalSystemTest, DeletesFilesReadOnlyOrNotAndRemovesTheEmptyDirectoriesDeepestFirst) {
    Install("tyviewer.exe", 0);
    Install("README.TXT", 0, FILE_ATTRIBUTE_READONLY);
    Install("water.xyz", 1, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    LogLine("gone.txt", "0|1|0");  // deleted by hand before the uninstall
    Install("SETUP.EXE", 0);

    std::vector<std::string> shown;
    EXPECT_EQ(Run([&](const std::string& path) {
                  shown.push_back(path);
                  return true;
              }),
              RemovalOutcome::Completed);

    EXPECT_FALSE(FileExists(mainDir + "tyviewer.exe"));
    EXPECT_FALSE(FileExists(mainDir + "README.TXT"));
    EXPECT_FALSE(FileExists(samplesDir + "water.xyz"));
    EXPECT_FALSE(IsDirectory(samplesDir));
    // The Setup copy is left for the clean-up program, and keeps its directory.
    EXPECT_TRUE(FileExists(mainDir + "SETUP.EXE"));
    EXPECT_TRUE(IsDirectory(mainDir));
    const std::vector<std::string> expected = {mainDir + "tyviewer.exe", mainDir + "README.TXT",
                                               samplesDir + "water.xyz", mainDir + "gone.txt",
                                               mainDir + "SETUP.EXE"};
    EXPECT_EQ(shown, expected);

    // With the Setup copy gone, the main directory goes too; the root is no
    // install directory.
    DeleteFileA((mainDir + "SETUP.EXE").c_str());
    EXPECT_EQ(Run(), RemovalOutcome::Completed);
    EXPECT_FALSE(IsDirectory(mainDir));
    EXPECT_TRUE(IsDirectory(root));
}

TEST_F(RemovalSystemTest, AUserFileKeepsItsDirectoryAndTheMainDirectory) {
    Install("tyviewer.exe", 0);
    Install("water.xyz", 1);
    ASSERT_TRUE(WriteFileText(samplesDir + "mine.xyz", "the user's own"));
    Run();
    EXPECT_FALSE(FileExists(samplesDir + "water.xyz"));
    EXPECT_TRUE(FileExists(samplesDir + "mine.xyz"));
    EXPECT_TRUE(IsDirectory(samplesDir));
    EXPECT_TRUE(IsDirectory(mainDir));
}

TEST_F(RemovalSystemTest, SharedFilesCountDownTwoToOneAndOneToNoValueAndStay) {
    struct Case {
        const char* name;
        int before;
        long after;
    } cases[] = {{"TVSRMTWO.DLL", 2, 1}, {"TVSRMONE.DLL", 1, -1}, {"TVSRMNONE.DLL", 0, -1}};
    for (const Case& c : cases) {
        const std::string path = systemDir + c.name;
        sharedPaths.push_back(path);
        SetSharedCount(path, c.before);
        Install(c.name, DestSystem);
    }
    Run();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(SharedCount(systemDir + c.name), c.after);
        EXPECT_TRUE(FileExists(systemDir + c.name));
    }
}

TEST_F(RemovalSystemTest, AHandEditedLineReachesNothingOutsideItsDirectory) {
    ASSERT_TRUE(WriteFileText(root + "victim.txt", "not installed"));
    LogLine("..\\victim.txt", "0|1|0");
    LogLine(root + "victim.txt", "0|1|0");
    LogLine("victim.txt", "9|1|0");  // no such destination
    Run();
    EXPECT_TRUE(FileExists(root + "victim.txt"));
}

TEST_F(RemovalSystemTest, ProgressShowsEachFileAndAStopLeavesTheRestInPlace) {
    Install("A.TXT", 0);
    Install("B.TXT", 0);
    Install("C.TXT", 1);
    int calls = 0;
    EXPECT_EQ(Run([&](const std::string&) { return ++calls < 2; }), RemovalOutcome::Cancelled);
    EXPECT_FALSE(FileExists(mainDir + "A.TXT"));
    EXPECT_TRUE(FileExists(mainDir + "B.TXT"));
    EXPECT_TRUE(FileExists(samplesDir + "C.TXT"));
    EXPECT_TRUE(IsDirectory(samplesDir));
}

TEST_F(RemovalSystemTest, ProgramItemsAndTheirGroupGo) {
    ProgramGroups groups;
    ASSERT_TRUE(groups.UsesShellLinks());
    const std::string group = "TVS Removal " + std::to_string(GetCurrentProcessId());
    Install("tyviewer.exe", 0);
    ASSERT_TRUE(groups.AddProgramItem(group, mainDir + "tyviewer.exe", std::string(), "Tessaly Viewer", "", 0,
                                      mainDir, SW_SHOW, SW_SHOW));
    ASSERT_TRUE(FileExists(groups.LinkFile(group, "Tessaly Viewer").GetPath()));
    auto target = std::make_unique<Target>();
    target->key = "tyviewer.exe";
    target->itemName = "Tessaly Viewer";
    target->path = mainDir + "tyviewer.exe";
    targets.Add(std::move(target));

    Run(nullptr, group);
    EXPECT_FALSE(FileExists(groups.LinkFile(group, "Tessaly Viewer").GetPath()));
    EXPECT_FALSE(IsDirectory(groups.GroupFolder(group).GetPath()));
    EXPECT_EQ(pumps, 1);
}

TEST(RemovalModuleName, IsTheRunningProgramsFileName) {
    EXPECT_EQ(ProfileUpperCase(RunningModuleFileName()), "WINE_TESTS.EXE");
}

}  // namespace
