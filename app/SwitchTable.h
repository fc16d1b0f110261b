#pragma once
// The command-line switch table: the argument text split into key/value
// pairs, and the settings Setup takes from it. Portable: no <windows.h>.
//
// A switch is "/" and its key. After a one-letter key the value follows
// directly ("/Dvalue"); a longer key ends at the first colon ("/KEY:value").
// Words that are not switches are kept under "#0", "#1", ... by position.
// Keys are case-sensitive; a later word with the same key wins.

#include <map>
#include <string>

class FilePath;

// Sorted by key, so that anything listing the table lists it the same way
// on every run.
using SwitchTable = std::map<std::string, std::string>;

// Splits `arguments` (the command line without the program name) at blanks.
SwitchTable ParseSwitches(const std::string& arguments);

// What the recognised switches ask for. Presence alone sets a flag: "/U:x"
// selects uninstall mode like "/U".
struct SwitchSettings {
    bool hasDirectory = false;   // "D" with a non-empty value
    std::string directory;       // the "D" value
    bool uninstallMode = false;  // "U"
    bool batchMode = false;      // "B", or implied by "Q"
    bool quietMode = false;      // "Q": batch mode in which nothing waits for an answer
    bool ignoreConditions = false;  // "I"
};

SwitchSettings ReadSwitchSettings(const SwitchTable& table);

// Replaces the directory of `path` by `directory`, keeping file name and
// extension. A directory that names a drive ("C:\KIT") or a network share
// replaces the drive too; one without keeps the path's drive. An empty directory, or a path
// that cannot be split, leaves `path` unchanged.
void ApplyDirectorySwitch(FilePath& path, const std::string& directory);
