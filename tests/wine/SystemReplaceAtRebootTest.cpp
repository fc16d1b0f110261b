#include "system/ReplaceAtReboot.h"

#include <gtest/gtest.h>

#include "support/FilePath.h"
#include "wine/SystemTestSupport.h"

namespace {

const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";

// The pending renames as the system keeps them (REG_MULTI_SZ pieces).
std::vector<std::string> PendingRenames() {
    std::vector<std::string> pieces;
    DWORD type = 0;
    std::string data;
    if (!systest::ReadRaw(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations", type,
                          data)) {
        return pieces;
    }
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\0', start);
        if (end == std::string::npos) {
            end = data.size();
        }
        pieces.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return pieces;
}

bool Contains(const std::vector<std::string>& pieces, const std::string& text) {
    for (const auto& p : pieces) {
        if (p.find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The system's "next start": wineboot -r performs the pending renames and
// the [rename] section of wininit.ini.
void NextStart() {
    DWORD code = 0;
    std::string out = systest::RunAndCapture("wineboot.exe -r", &code);
    ASSERT_EQ(code, 0u) << out;
}

class SystemReplaceAtReboot : public ::testing::Test {
protected:
    void SetUp() override {
        dir = systest::ScratchDir("reboot");
        FilePath windows(FilePathKind::kWindowsDirectory);
        wininit = windows.GetPath() + "wininit.ini";
        wininitBak = windows.GetPath() + "wininit.bak";
        DeleteFileA(wininit.c_str());
        DeleteFileA(wininitBak.c_str());
        // In use: the old copy; beside it the new one under its temporary name.
        destination = dir + "Viewer Library.dll";
        source = dir + "1a2b3c4d.dll";
        ASSERT_TRUE(systest::WriteFileText(destination, "old"));
        ASSERT_TRUE(systest::WriteFileText(source, "new"));
    }
    void TearDown() override {
        DeleteFileA(wininit.c_str());
        DeleteFileA(wininitBak.c_str());
    }
    std::string dir, wininit, wininitBak, destination, source;
};

TEST_F(SystemReplaceAtReboot, SystemDelayedMoveThenNextStart) {
    EXPECT_TRUE(ReplaceAtReboot(source, destination));
    const auto pending = PendingRenames();
    EXPECT_TRUE(Contains(pending, "1a2b3c4d.dll"));
    EXPECT_TRUE(Contains(pending, "Viewer Library.dll"));
    // The system took it: wininit.ini is not touched.
    EXPECT_FALSE(systest::FileExists(wininit));
    EXPECT_EQ(systest::ReadFileText(destination), "old");

    NextStart();
    EXPECT_EQ(systest::ReadFileText(destination), "new");
    EXPECT_FALSE(systest::FileExists(source));
}

TEST_F(SystemReplaceAtReboot, WininitWhenTheDelayedMoveFailsThenNextStart) {
    std::vector<std::pair<std::string, std::string>> asked;
    {
        ScopedDelayedMoveOverride refuse([&](const std::string& s, const std::string& d) {
            asked.emplace_back(s, d);
            return false;  // as on Windows 95
        });
        EXPECT_TRUE(ReplaceAtReboot(source, destination));
    }
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, source);
    EXPECT_EQ(asked[0].second, destination);
    EXPECT_FALSE(Contains(PendingRenames(), "1a2b3c4d.dll"));

    // destination=source, both in the short form wininit.ini needs.
    char shortDestination[MAX_PATH];
    char shortSource[MAX_PATH];
    ASSERT_GT(GetShortPathNameA(destination.c_str(), shortDestination, MAX_PATH), 0u);
    ASSERT_GT(GetShortPathNameA(source.c_str(), shortSource, MAX_PATH), 0u);
    EXPECT_EQ(systest::ReadFileText(wininit),
              std::string("[rename]\r\n") + shortDestination + "=" + shortSource + "\r\n");
    EXPECT_EQ(systest::ReadFileText(destination), "old");

    NextStart();
    EXPECT_EQ(systest::ReadFileText(destination), "new");
    EXPECT_FALSE(systest::FileExists(source));
    EXPECT_FALSE(systest::FileExists(wininit));
    EXPECT_TRUE(systest::FileExists(wininitBak));
}

TEST_F(SystemReplaceAtReboot, ReportsFailureWhenNeitherWayTakesIt) {
    ScopedDelayedMoveOverride refuse([](const std::string&, const std::string&) { return false; });
    // wininit.ini as a directory cannot be edited.
    ASSERT_TRUE(CreateDirectoryA(wininit.c_str(), nullptr));
    EXPECT_FALSE(ReplaceAtReboot(source, destination));
    RemoveDirectoryA(wininit.c_str());
}

}  // namespace
