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
// Process exit code: 0 when the run succeeded, 1 otherwise.
inline int ExitCodeFor(bool continueFlag) { return continueFlag ? 0 : 1; }
// The sibling of a diskette image directory for another diskette: when the
// last two characters of `directory` (no trailing separator) are digits
// other than "00" and something comes before them, they are replaced by
// `diskette` in two digits ("C:\KIT\DISK01", 2 -> "C:\KIT\DISK02").
// Otherwise, or for a diskette outside 0..99, "".
std::string SiblingDisketteDirectory(const std::string& directory, int diskette);
