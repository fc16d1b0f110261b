#pragma once
// What the application registration writes, as text: key paths, the class
// name the molecule extensions point to, the two extension lists and their
// splitting, the uninstall command. Portable: no <windows.h>.

#include <string>
#include <vector>

namespace regtext {

constexpr const char* kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kSharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

constexpr const char* kMoleculeClass = "TessalyViewer.Molecule";
constexpr const char* kExtensionList1 = ".msl,.pdb,.ent,.mol,.mdl,.sd,.car";
constexpr const char* kExtensionList2 = ".csd,.fdat,.msf,.mol2,.tyd,.cpd,.xyz,.skc";

// The extensions of a list in their order: commas and blanks both separate,
// empty pieces are skipped.
std::vector<std::string> SplitExtensionList(const std::string& list);

// "...\App Paths\" plus the program's file name and extension.
std::string AppPathKey(const std::string& programFileName);

// "...\Uninstall\" plus the key name.
std::string UninstallKey(const std::string& keyName);

// The main install directory (a trailing backslash is added when missing),
// Setup's own file name, then " /U".
std::string UninstallCommand(const std::string& mainInstallDir, const std::string& setupFileName);

}  // namespace regtext
