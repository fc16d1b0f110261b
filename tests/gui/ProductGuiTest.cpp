// Starts the built tyviewer.exe on the demo samples and reads what its
// window shows, then closes it the way the user would.

#include <windows.h>

#include <gtest/gtest.h>

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
  explicit ViewerRun(const std::string& arguments, const std::string& exe = ViewerExe()) {
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_ = info.hProcess;
      processId_ = info.dwProcessId;
    }
  }
  ~ViewerRun() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) TerminateProcess(process_, 99);
    CloseHandle(process_);
  }
  ViewerRun(const ViewerRun&) = delete;
  ViewerRun& operator=(const ViewerRun&) = delete;

  bool started() const { return process_ != nullptr; }

  // The visible main window once its labels are filled in, or null.
  HWND WaitForWindow() {
    for (DWORD waited = 0; waited < kStartTimeoutMs; waited += kPollMs) {
      FindContext find = {processId_, nullptr};
      EnumWindows(&MatchViewerWindow, reinterpret_cast<LPARAM>(&find));
      // FindWindow can win the race against WM_CREATE: wait for the label.
      if (find.found && IsWindowVisible(find.found) && GetDlgItem(find.found, IDC_VIEWER_FILE_NAME) &&
          !TextOf(GetDlgItem(find.found, IDC_VIEWER_FILE_NAME)).empty()) {
        return find.found;
      }
      if (WaitForSingleObject(process_, kPollMs) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }

  // Closes the window as its close box does; returns the exit code or -1.
  long Close(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, kStartTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
  }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
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

  std::string commandLine = "\"" + CleanupExe() + "\" /U /PP:" + profile;
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  ASSERT_TRUE(CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
  CloseHandle(info.hThread);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(info.hProcess, 1000));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(profile.c_str()));

  EXPECT_EQ(0, setup.Close(window));
  DWORD code = 99;
  if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(info.hProcess, &code);
  } else {
    TerminateProcess(info.hProcess, 99);
  }
  CloseHandle(info.hProcess);
  EXPECT_EQ(0u, code);
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.c_str()));
  DeleteFileA(setupCopy.c_str());
  DeleteFileA(profile.c_str());
  RemoveDirectoryA(dir.c_str());
}

}  // namespace
