#pragma once
// The product's registration with the system: its application path, its
// uninstall entry and the molecule file associations. Windows only. Every
// failure is silent: an entry that cannot be written is simply missing.

#include <string>

// HKLM "...\App Paths\<file name>": default value = the full path, "Path" =
// its directory (drive, colon, directory, no trailing backslash).
void RegisterAppPath(const std::string& programPath);
void UnregisterAppPath(const std::string& programPath);

// HKLM "...\Uninstall\<key name>": "UninstallString" then "DisplayName".
void RegisterUninstall(const std::string& command, const std::string& keyName,
                       const std::string& displayName);
void UnregisterUninstall(const std::string& keyName);

// For each extension of the list, in order: its HKCR key is deleted, then
// its default value is set to "TessalyViewer.Molecule". A key that could not
// be deleted keeps a default string it already had.
void RegisterAssociations(const std::string& extensionList);

// What the "Registering components..." page does: the App Paths entry for
// mainDir + mainProgramName, the uninstall entry whose command is mainDir,
// Setup's own file name (from setupModulePath) and " /U", keyed and shown
// as productName, then both extension lists.
void RegisterApplication(const std::string& mainDir, const std::string& mainProgramName,
                         const std::string& setupModulePath, const std::string& productName);
// What the "Unregistering components..." page does: the App Paths entry and
// the uninstall entry go; the associations stay.
void UnregisterApplication(const std::string& mainDir, const std::string& mainProgramName,
                           const std::string& productName);
