// Starts the built tyviewer.exe on the demo samples and reads what its
// window shows, then closes it the way the user would.

#include <windows.h>

#include <gtest/gtest.h>

#include "ProcessSupport.h"
#include "TestEnvironment.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "tools/tyviewer/ViewerIds.h"

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kPollMs = 50;

using testenv::WindowsPathFromEnv;

std::string CleanupExe() { return WindowsPathFromEnv("TVS_BINARY_DIR") + "\\product\\_qzdinst.exe"; }
std::string ViewerExe() { return WindowsPathFromEnv("TVS_BINARY_DIR") + "\\product\\tyviewer.exe"; }
std::string SampleFile(const char* name) {
  return WindowsPathFromEnv("TVS_SOURCE_DIR") + "\\demo\\samples\\" + name;
}

std::string TextOf(HWND window) {
  char buffer[512] = {};
  SendMessageA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

struct FindContext {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchViewerWindow(HWND window, LPARAM context) {
  auto* find = reinterpret_cast<FindContext*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == find->processId && std::string(className) == TYVIEWER_WINDOW_CLASS) {
    find->found = window;
    return FALSE;
  }
  return TRUE;
}

// One viewer process, closed and reaped at the end of the scope.
class ViewerRun {
 public:
  explicit ViewerRun(const std::string& arguments, const std::string& exe = ViewerExe())
      : process_(testproc::Quoted(exe) + (arguments.empty() ? "" : " " + arguments)) {}

  bool started() const { return process_.Started(); }

  // The visible main window once its labels are filled in, or null.
  HWND WaitForWindow() {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
      FindContext find = {process_.ProcessId(), nullptr};
      EnumWindows(&MatchViewerWindow, reinterpret_cast<LPARAM>(&find));
      // FindWindow can win the race against WM_CREATE: wait for the label.
      if (find.found && IsWindowVisible(find.found) && GetDlgItem(find.found, IDC_VIEWER_FILE_NAME) &&
          !TextOf(GetDlgItem(find.found, IDC_VIEWER_FILE_NAME)).empty()) {
        return find.found;
      }
      if (!process_.StillRunningAfter(kPollMs)) return nullptr;
    }
    return nullptr;
  }

  // Closes the window as its close box does; returns the exit code or -1.
  long Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return process_.Wait(kStartTimeoutMs);
  }

 private:
  testproc::Process process_;
};

std::string WriteBrokenSample() {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof temp, temp);
  const std::string path = std::string(temp) + "broken.pdb";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, "HETATM garbage\r\n", 16, &written, nullptr);
    CloseHandle(file);
  }
  return path;
}

TEST(ProductGui, ViewerShowsTheMoleculeFileItWasGiven) {
  const std::string broken = WriteBrokenSample();
  struct Case { std::string arguments; const char* name; const char* status; };
  const Case cases[] = {
      {"\"" + SampleFile("caffeine.pdb") + "\"", "caffeine.pdb", "24 atoms, 25 bonds"},
      {SampleFile("benzene.mol"), "benzene.mol", "12 atoms, 12 bonds"},
      {SampleFile("water.xyz"), "water.xyz", "3 atoms, 2 bonds"},
      {broken, "broken.pdb", "cannot read"},
      {SampleFile("missing.xyz"), "missing.xyz", "cannot read"},
      {"", "No molecule file", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    ViewerRun run(c.arguments);
    ASSERT_TRUE(run.started()) << ViewerExe();
    const HWND window = run.WaitForWindow();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(TYVIEWER_WINDOW_TITLE, TextOf(window));
    EXPECT_EQ(c.name, TextOf(GetDlgItem(window, IDC_VIEWER_FILE_NAME)));
    EXPECT_EQ(c.status, TextOf(GetDlgItem(window, IDC_VIEWER_STATUS)));
    EXPECT_EQ(0, run.Close(window));
  }
  DeleteFileA(broken.c_str());
}

// The install log of the Windows directory, naming mainDir as the main
// install directory for the length of a scope; the log that was there
// before is put back.
class InstallLogStandIn {
 public:
  explicit InstallLogStandIn(const std::string& mainDir) {
    char windows[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    log_ = std::string(windows) + "\\TYViewer.log";
    backup_ = log_ + ".gui-test";
    DeleteFileA(backup_.c_str());
    saved_ = MoveFileA(log_.c_str(), backup_.c_str()) != FALSE;
    WritePrivateProfileStringA("destinations", "0", ("Tessaly Viewer|-1|" + mainDir).c_str(), log_.c_str());
  }
  ~InstallLogStandIn() {
    DeleteFileA(log_.c_str());
    if (saved_) MoveFileA(backup_.c_str(), log_.c_str());
  }
  InstallLogStandIn(const InstallLogStandIn&) = delete;
  InstallLogStandIn& operator=(const InstallLogStandIn&) = delete;

 private:
  std::string log_;
  std::string backup_;
  bool saved_ = false;
};

// The clean-up program must wait for a really running Setup copy, whose
// image the system keeps locked; a viewer copy named SETUP.EXE stands in.
TEST(ProductGui, CleanupWaitsForTheRunningSetupCopy) {
  char temp[MAX_PATH + 1] = {};
  ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
  const std::string dir = std::string(temp) + "tvs-gui-cleanup-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
  const std::string setupCopy = dir + "\\SETUP.EXE";
  const std::string profile = dir + "\\SETUP.ini";
  ASSERT_TRUE(CopyFileA(ViewerExe().c_str(), setupCopy.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(SampleFile("water.xyz").c_str(), profile.c_str(), FALSE));
  InstallLogStandIn log(dir);

  ViewerRun setup("", setupCopy);
  ASSERT_TRUE(setup.started());
  const HWND window = setup.WaitForWindow();
  ASSERT_NE(nullptr, window);

  testproc::Process cleanup(testproc::Quoted(CleanupExe()) + " /U /PP:" + profile);
  ASSERT_TRUE(cleanup.Started());
  EXPECT_TRUE(cleanup.StillRunningAfter(1000));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(profile.c_str()));

  EXPECT_EQ(0, setup.Close(window));
  const long code = cleanup.Wait(120000);
  EXPECT_EQ(0, code);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.c_str()));
  DeleteFileA(setupCopy.c_str());
  DeleteFileA(profile.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
