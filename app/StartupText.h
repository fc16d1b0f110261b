#pragma once
// Texts Setup builds at start-up and shut-down. Portable: no <windows.h>.

#include <string>

// Setup's profile: its own executable path with the extension "ini".
std::string ProfilePathFor(const std::string& modulePath);
// The directory of Setup's own executable, with an empty file name.
std::string SourceDirFor(const std::string& modulePath);
// The report name of the status report: the stem of the main program's name.
std::string StatusReportName(const std::string& mainProgramName);
// Command line of the clean-up program after a successful uninstall:
// the System directory, "_qzdinst.exe", " /U /PP:" and the profile's short path.
std::string CleanupCommandLine(const std::string& systemDirectory, const std::string& shortProfilePath);
// Exit code of a quiet run that succeeded but needs a restart, the code
// deployment tools know from other installers.
constexpr int kExitSuccessRestartRequired = 3010;
// Process exit code: 0 when the run succeeded, 1 otherwise. A quiet run
// that succeeded and left a file for the next system start gives 3010, so
// that whoever deployed it knows to restart; an interactive or batch run
// has already offered (or, in batch mode, declined) the restart itself.
inline int ExitCodeFor(bool continueFlag, bool quietMode = false, bool restartNeeded = false) {
    if (!continueFlag) return 1;
    return quietMode && restartNeeded ? kExitSuccessRestartRequired : 0;
}
// The sibling of a diskette image directory for another diskette: when the
// last two characters of `directory` (no trailing separator) are digits
// other than "00" and something comes before them, they are replaced by
// `diskette` in two digits ("C:\KIT\DISK01", 2 -> "C:\KIT\DISK02").
// Otherwise, or for a diskette outside 0..99, "".
std::string SiblingDisketteDirectory(const std::string& directory, int diskette);
