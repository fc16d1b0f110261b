#pragma once
// The clean-up program's command line and the checks that keep it inside
// one install directory. Pure: no <windows.h>, tested on the build host.

#include <functional>
#include <string>
#include <vector>

namespace qzdinst {

// Process exit codes. Setup does not look at them; tests and people do.
enum ExitCode {
  kExitDone = 0,            // finished (an install directory still in use by other files stays)
  kExitBadArguments = 1,    // missing or malformed /U /PP: arguments: nothing touched
  kExitRefusedPath = 2,     // a path that could lead elsewhere, or a directory the install log
                            // does not name as the main install directory: nothing touched
  kExitSetupStillRunning = 3,  // the Setup copy stayed in use: nothing touched
  kExitNotRemoved = 4       // a file could not be deleted for another reason
};

// The longest path accepted, terminator excluded (MAX_PATH - 1).
constexpr std::size_t kMaxPathLength = 259;

// Returns the argument text of a full command line: everything after the
// program name (quoted or up to the first blank), without leading blanks.
std::string SkipProgramName(const std::string& commandLine);

// Parses exactly "/U /PP:<path>" (switches are case-sensitive, blanks between
// them, the path runs to the end of the line and may be quoted as a whole).
// Returns false for anything else; path is then left empty.
bool ParseArguments(const std::string& arguments, std::string& path);

// What the clean-up works on, derived from an accepted profile-named path.
struct CleanupPlan {
  std::string profilePath;  // as given, e.g. C:\PROG~1\TESSAL~1\SETUP.ini
  std::string directory;    // C:\PROG~1\TESSAL~1 (no trailing backslash)
  std::string title;        // SETUP
};

// Accepts only an absolute drive path of at most kMaxPathLength characters,
// below a root directory, whose components are plain names (no "." or ".."
// or other all-dot names, no wildcards, no stream colons, no empty
// components or trailing dots and blanks) and whose file name is
// "<title>.ini". On refusal reason says why and plan is untouched.
bool CheckProfilePath(const std::string& path, CleanupPlan& plan, std::string& reason);

// True when directory is one of the protected directories (the Windows and
// System directories) or contains one of them. Compared without case and
// without trailing backslashes.
bool IsProtectedDirectory(const std::string& directory, const std::vector<std::string>& protectedDirs);

// The main install directory recorded by the last completed install: the
// path field of the install log's "destinations" line for id 0, whose value
// reads "name|parent|path". Empty when the value has no path field.
std::string MainDirectoryFromLogValue(const std::string& value);

// True when both texts name the same directory, compared without case and
// without trailing backslashes.
bool SameDirectory(const std::string& a, const std::string& b);

// directory + "\" + title + ".exe": the Setup copy beside the profile file.
std::string SetupCopyPath(const std::string& directory, const std::string& title);

// Returns the file title (name without its last extension) of a bare file name.
std::string FileTitleOf(const std::string& fileName);

// One try at deleting a file.
enum class DeleteOutcome { Deleted, Missing, Busy, Failed };

// Tries attempt() until it gives anything but Busy, calling pause() between
// tries, at most maxAttempts times. Returns the last outcome (Busy when the
// file stayed in use throughout).
DeleteOutcome DeleteWithRetry(const std::function<DeleteOutcome()>& attempt,
                              const std::function<void()>& pause, int maxAttempts);

}  // namespace qzdinst
