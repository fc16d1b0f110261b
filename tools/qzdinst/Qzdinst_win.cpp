// _qzdinst.exe: finishes an uninstall after Setup has exited. Setup cannot
// delete its own running copy, nor the install directory that holds it, so
// it starts this program with " /U /PP:" and the (short) path of its
// profile-named file, SETUP.ini beside SETUP.EXE, and exits.
//
// No window and no message box: the user has already seen "removed".

#include <windows.h>

#include <string>
#include <vector>

#include "tools/qzdinst/CleanupArgs.h"

namespace {

using qzdinst::DeleteOutcome;

// Setup's exit step runs after it started us; give it a minute.
constexpr int kWaitAttempts = 240;
constexpr DWORD kWaitStepMs = 250;

std::string SystemDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = GetSystemDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

std::string WindowsDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string();
}

// The long form of a directory when the system can give it (it may be
// given to us in 8.3 form, while the protected directories come long).
std::string LongFormOf(const std::string& path) {
  using GetLongPathNameAFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  // Windows 95 and NT 4 lack GetLongPathNameA: look it up at run time.
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto fn = kernel ? reinterpret_cast<GetLongPathNameAFn>(
                         reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")))
                   : nullptr;
  if (!fn) return path;
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = fn(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

std::string ShortFormOf(const std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

// Only the directory that the last completed install recorded as its main
// directory is cleaned up. Setup started with /U from a kit directory must
// not take the kit's own SETUP.EXE and profile with it.
bool IsLoggedInstallDirectory(const std::string& directory) {
  std::string log = WindowsDirectory();
  if (log.empty()) return false;
  if (log.back() != '\\') log += '\\';
  log += "TYViewer.log";
  char value[1024] = {};
  GetPrivateProfileStringA("destinations", "0", "", value, sizeof value, log.c_str());
  const std::string logged = qzdinst::MainDirectoryFromLogValue(value);
  if (logged.empty()) return false;
  return qzdinst::SameDirectory(directory, logged) ||
         qzdinst::SameDirectory(ShortFormOf(directory), ShortFormOf(logged));
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Setup names its profile file after its own long name; the path we get may
// be the 8.3 form, whose title need not match the Setup copy's 8.3 title.
// The profile file's long name gives the right title when it still exists.
std::string SetupTitle(const qzdinst::CleanupPlan& plan) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(plan.profilePath.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return plan.title;
  FindClose(search);
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return plan.title;
  return qzdinst::FileTitleOf(found.cFileName);
}

DeleteOutcome TryDelete(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return DeleteOutcome::Missing;
    return DeleteOutcome::Failed;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return DeleteOutcome::Failed;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  if (DeleteFileA(path.c_str())) return DeleteOutcome::Deleted;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return DeleteOutcome::Missing;
    // A running program's file cannot be deleted: Windows 95 and NT both
    // answer "access denied"; an open handle gives a sharing violation.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return DeleteOutcome::Busy;
    default:
      return DeleteOutcome::Failed;
  }
}

int Run() {
  // A path on a drive without a disk must fail quietly, not ask the user.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // We may have inherited Setup's current directory, which is the install
  // directory: a process's current directory cannot be removed.
  const std::string systemDir = SystemDirectory();
  if (!systemDir.empty()) SetCurrentDirectoryA(systemDir.c_str());

  std::string profilePath;
  if (!qzdinst::ParseArguments(qzdinst::SkipProgramName(GetCommandLineA()), profilePath)) {
    return qzdinst::kExitBadArguments;
  }
  qzdinst::CleanupPlan plan;
  std::string reason;
  if (!qzdinst::CheckProfilePath(profilePath, plan, reason)) return qzdinst::kExitRefusedPath;

  const std::vector<std::string> protectedDirs = {WindowsDirectory(), systemDir};
  if (qzdinst::IsProtectedDirectory(plan.directory, protectedDirs) ||
      qzdinst::IsProtectedDirectory(LongFormOf(plan.directory), protectedDirs)) {
    return qzdinst::kExitRefusedPath;
  }
  if (!IsDirectory(plan.directory)) return qzdinst::kExitDone;  // already gone
  if (!IsLoggedInstallDirectory(plan.directory)) return qzdinst::kExitRefusedPath;

  const std::string setupCopy = qzdinst::SetupCopyPath(plan.directory, SetupTitle(plan));
  // Setup is still running until its copy can be deleted.
  const DeleteOutcome copyOutcome = qzdinst::DeleteWithRetry(
      [&] { return TryDelete(setupCopy); }, [] { Sleep(kWaitStepMs); }, kWaitAttempts);
  if (copyOutcome == DeleteOutcome::Busy) return qzdinst::kExitSetupStillRunning;
  if (copyOutcome == DeleteOutcome::Failed) return qzdinst::kExitNotRemoved;

  if (TryDelete(plan.profilePath) == DeleteOutcome::Failed) return qzdinst::kExitNotRemoved;
  // Only an empty directory goes; files the user put there keep it alive.
  RemoveDirectoryA(plan.directory.c_str());
  return qzdinst::kExitDone;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A GUI program that never reads its queue keeps the "starting" cursor
  // up for seconds; looking at the queue once ends that.
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  try {
    return Run();
  } catch (...) {
    // Only an allocation failure can get here; there is nobody to tell.
    return qzdinst::kExitNotRemoved;
  }
}
