// Runs the built _qzdinst.exe against install directories made here, the
// way Setup starts it after an uninstall: " /U /PP:" and the short path of
// the profile-named file beside the Setup copy.

#include <windows.h>

#include <gtest/gtest.h>

#include "FileTreeSupport.h"
#include "ProcessSupport.h"
#include "TestEnvironment.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Generous: the program itself waits up to a minute for a busy Setup copy.
constexpr DWORD kProcessTimeoutMs = 120000;

using testenv::WindowsPathFromEnv;

std::string CleanupExe() { return WindowsPathFromEnv("TVS_BINARY_DIR") + "\\product\\_qzdinst.exe"; }

using filetree::Exists;
using filetree::RemoveTree;

void WriteFile(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ShortPath(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// Stands in for the install log that the last install left in the Windows
// directory, naming dir as its main install directory; puts back whatever
// log was there before.
class InstallLogStandIn {
 public:
  InstallLogStandIn() {
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    log_ = std::string(windows) + "\\TYViewer.log";
    backup_ = log_ + ".qzdinst-test";
    DeleteFileA(backup_.c_str());
    saved_ = MoveFileA(log_.c_str(), backup_.c_str()) != FALSE;
  }
  ~InstallLogStandIn() {
    DeleteFileA(log_.c_str());
    if (saved_) MoveFileA(backup_.c_str(), log_.c_str());
  }
  InstallLogStandIn(const InstallLogStandIn&) = delete;
  InstallLogStandIn& operator=(const InstallLogStandIn&) = delete;

  void Record(const std::string& mainDir) {
    WriteFile(log_, "[destinations]\r\n0=Tessaly Viewer|-1|" + mainDir + "\r\n");
  }

 private:
  std::string log_;
  std::string backup_;
  bool saved_ = false;
};

std::string CleanupCommand(const std::string& arguments) {
  return testproc::Quoted(CleanupExe()) + (arguments.empty() ? "" : " " + arguments);
}

long RunCleanup(const std::string& arguments) {
  const long code = testproc::RunProgram(CleanupExe(), arguments, kProcessTimeoutMs);
  EXPECT_NE(code, -2) << CleanupExe();
  return code;
}

class QzdinstTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Exists(CleanupExe())) << CleanupExe();
    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    root_ = std::string(temp) + "tvs-qzdinst-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    RemoveTree(root_);
    ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
  }
  void TearDown() override { RemoveTree(root_); }

  // An install directory holding the Setup copy and its profile file, as
  // the install log records it.
  std::string MakeInstall(const std::string& dirName, const std::string& title = "SETUP") {
    const std::string dir = root_ + "\\" + dirName;
    EXPECT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    log_.Record(dir);
    WriteFile(dir + "\\" + title + ".EXE", "MZ stand-in for the Setup copy");
    WriteFile(dir + "\\" + title + ".ini", "[destinations]\r\n");
    return dir;
  }

  std::string root_;
  InstallLogStandIn log_;
};

TEST_F(QzdinstTest, DeletesTheSetupCopyItsProfileAndTheEmptyDirectory) {
  const std::string dir = MakeInstall("Tessaly Viewer");
  EXPECT_EQ(0, RunCleanup("/U /PP:" + ShortPath(dir + "\\SETUP.ini")));
  EXPECT_FALSE(Exists(dir + "\\SETUP.EXE"));
  EXPECT_FALSE(Exists(dir + "\\SETUP.ini"));
  EXPECT_FALSE(Exists(dir));
  EXPECT_TRUE(Exists(root_));  // the parent is not ours to remove
}

TEST_F(QzdinstTest, LeavesADirectoryThatStillHoldsUserFiles) {
  const std::string dir = MakeInstall("Tessaly");
  CreateDirectoryA((dir + "\\mine").c_str(), nullptr);
  WriteFile(dir + "\\mine\\water.xyz", "3\n");
  WriteFile(dir + "\\notes.txt", "keep me");
  SetFileAttributesA((dir + "\\SETUP.EXE").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(0, RunCleanup("/U /PP:" + ShortPath(dir + "\\SETUP.ini")));
  EXPECT_FALSE(Exists(dir + "\\SETUP.EXE"));  // read-only is no protection for the Setup copy
  EXPECT_FALSE(Exists(dir + "\\SETUP.ini"));
  EXPECT_TRUE(Exists(dir + "\\notes.txt"));
  EXPECT_TRUE(Exists(dir + "\\mine\\water.xyz"));
}

TEST_F(QzdinstTest, TakesOnlyTheSetupCopyAndItsProfileNothingNamedLikeThem) {
  const std::string dir = MakeInstall("Tessaly");
  CreateDirectoryA((dir + "\\SAMPLES").c_str(), nullptr);
  const char* const others[] = {"SETUP.EXE.bak", "SETUP.DLL", "SETUP", "_qzdinst.exe", "tyviewer.exe",
                                "SAMPLES\\SETUP.EXE", "SAMPLES\\SETUP.ini"};
  for (const char* name : others) WriteFile(dir + "\\" + name, "not the Setup copy");
  EXPECT_EQ(0, RunCleanup("/U /PP:" + ShortPath(dir + "\\SETUP.ini")));
  EXPECT_FALSE(Exists(dir + "\\SETUP.EXE"));
  EXPECT_FALSE(Exists(dir + "\\SETUP.ini"));
  for (const char* name : others) EXPECT_TRUE(Exists(dir + "\\" + name)) << name;
  EXPECT_TRUE(Exists(dir + "\\SAMPLES"));
}

TEST_F(QzdinstTest, FindsALongNamedSetupCopyFromTheShortProfilePath) {
  const std::string dir = MakeInstall("Tessaly Viewer 1.0", "Tessaly Viewer Setup");
  const std::string shortIni = ShortPath(dir + "\\Tessaly Viewer Setup.ini");
  EXPECT_EQ(0, RunCleanup("/U /PP:" + shortIni));
  EXPECT_FALSE(Exists(dir + "\\Tessaly Viewer Setup.EXE"));
  EXPECT_FALSE(Exists(dir));
}

TEST_F(QzdinstTest, TakesAnUnquotedLongPathWhenTheProfileFileIsMissing) {
  // Setup hands over the long path when it has no short form, blanks and all.
  const std::string dir = MakeInstall("Tessaly Viewer");
  DeleteFileA((dir + "\\SETUP.ini").c_str());
  EXPECT_EQ(0, RunCleanup("/U /PP:" + dir + "\\SETUP.ini"));
  EXPECT_FALSE(Exists(dir));
}

TEST_F(QzdinstTest, BadArgumentsExitNonZeroAndDeleteNothing) {
  const std::string dir = MakeInstall("Tessaly");
  const std::string ini = ShortPath(dir + "\\SETUP.ini");
  struct Case { std::string arguments; long code; };
  const Case cases[] = {
      {"", 1},
      {"/U", 1},
      {"/U /PP:", 1},
      {"/u /PP:" + ini, 1},
      {"/PP:" + ini, 1},
      {"/U /PP:" + ini + "\"", 1},
      {"/U /PP:SETUP.ini", 2},
      {"/U /PP:" + dir + "\\*.ini", 2},
      {"/U /PP:" + dir + "\\SETUP.EXE", 2},
      {"/U /PP:" + dir, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    EXPECT_EQ(c.code, RunCleanup(c.arguments));
    EXPECT_TRUE(Exists(dir + "\\SETUP.EXE"));
    EXPECT_TRUE(Exists(dir + "\\SETUP.ini"));
  }
}

TEST_F(QzdinstTest, RefusesPathsOutsideTheInstallDirectory) {
  const std::string dir = MakeInstall("Tessaly");
  // A Setup pair one level up, reachable only through "..".
  WriteFile(root_ + "\\victim.exe", "x");
  WriteFile(root_ + "\\victim.ini", "x");
  EXPECT_EQ(2, RunCleanup("/U /PP:" + dir + "\\..\\victim.ini"));
  EXPECT_TRUE(Exists(root_ + "\\victim.exe"));
  EXPECT_TRUE(Exists(root_ + "\\victim.ini"));
  EXPECT_TRUE(Exists(dir + "\\SETUP.EXE"));

  // The Windows directory is never an install directory.
  char windows[MAX_PATH + 1] = {};
  ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
  const std::string probe = std::string(windows) + "\\tvsqzdprobe";
  WriteFile(probe + ".exe", "x");
  WriteFile(probe + ".ini", "x");
  EXPECT_EQ(2, RunCleanup("/U /PP:" + probe + ".ini"));
  EXPECT_TRUE(Exists(probe + ".exe"));
  EXPECT_TRUE(Exists(probe + ".ini"));
  DeleteFileA((probe + ".exe").c_str());
  DeleteFileA((probe + ".ini").c_str());
}

TEST_F(QzdinstTest, LeavesADirectoryTheInstallLogDoesNotName) {
  // Setup started with /U from its kit directory hands over the kit's path.
  const std::string installed = MakeInstall("Tessaly");
  const std::string kit = MakeInstall("Kit");
  log_.Record(installed);
  EXPECT_EQ(2, RunCleanup("/U /PP:" + kit + "\\SETUP.ini"));
  EXPECT_TRUE(Exists(kit + "\\SETUP.EXE"));
  EXPECT_TRUE(Exists(kit + "\\SETUP.ini"));

  log_.Record("");  // no completed install on record
  EXPECT_EQ(2, RunCleanup("/U /PP:" + installed + "\\SETUP.ini"));
  EXPECT_TRUE(Exists(installed + "\\SETUP.EXE"));
}

TEST_F(QzdinstTest, WaitsWhileTheSetupCopyIsInUse) {
  const std::string dir = MakeInstall("Tessaly");
  // Stands in for the running Setup: no sharing at all, as a loaded image.
  HANDLE held = CreateFileA((dir + "\\SETUP.EXE").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  testproc::Process cleanup(CleanupCommand("/U /PP:" + ShortPath(dir + "\\SETUP.ini")));
  ASSERT_TRUE(cleanup.Started());
  // Still waiting a second later, with nothing deleted yet.
  EXPECT_TRUE(cleanup.StillRunningAfter(1000));
  EXPECT_TRUE(Exists(dir + "\\SETUP.ini"));
  CloseHandle(held);  // "Setup" exits
  EXPECT_EQ(0, cleanup.Wait(kProcessTimeoutMs));
  EXPECT_FALSE(Exists(dir));
}

}  // namespace
