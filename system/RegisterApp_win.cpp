#include "system/RegisterApp.h"

#include <windows.h>

#include "support/FilePath.h"
#include "system/RegistrationText.h"
#include "system/RegistryKey.h"

namespace {

std::string JoinDirAndName(const std::string& dir, const std::string& name) {
    FilePath path;
    path.SetFullDirectory(dir);
    path.SetFileName(name);
    return path.GetPath();
}

}  // namespace

void RegisterAppPath(const std::string& programPath) {
    const FilePath program(programPath);
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, regtext::AppPathKey(program.GetFileName()).c_str(),
                      &key) != ERROR_SUCCESS) {
        return;
    }
    const std::string directory = program.GetDirectory();
    RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(programPath.c_str()),
                   static_cast<DWORD>(programPath.size() + 1));
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(directory.c_str()),
                   static_cast<DWORD>(directory.size() + 1));
    RegCloseKey(key);
}

void UnregisterAppPath(const std::string& programPath) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::AppPathKey(FilePath(programPath).GetFileName()).c_str());
}

void RegisterUninstall(const std::string& command, const std::string& keyName,
                       const std::string& displayName) {
    const std::string key = regtext::UninstallKey(keyName);
    // Destroyed in reverse order: "UninstallString" is written first.
    RegistryString shownName(HKEY_LOCAL_MACHINE, key, "DisplayName", "", true, true);
    RegistryString uninstall(HKEY_LOCAL_MACHINE, key, "UninstallString", "", true, true);
    shownName.Set(displayName);
    uninstall.Set(command);
}

void UnregisterUninstall(const std::string& keyName) {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, regtext::UninstallKey(keyName).c_str());
}

void RegisterAssociations(const std::string& extensionList) {
    for (const std::string& extension : regtext::SplitExtensionList(extensionList)) {
        // A key with sub-keys survives the deletion on NT; its default
        // string, when it has one, is then loaded and written back as it was.
        RegDeleteKeyA(HKEY_CLASSES_ROOT, extension.c_str());
        RegistryString association(HKEY_CLASSES_ROOT, extension, "", regtext::kMoleculeClass, true,
                                   false);
        association.Save();
    }
}

void RegisterApplication(const std::string& mainDir, const std::string& mainProgramName,
                         const std::string& setupModulePath, const std::string& productName) {
    RegisterAppPath(JoinDirAndName(mainDir, mainProgramName));
    RegisterUninstall(regtext::UninstallCommand(mainDir, FilePath(setupModulePath).GetFileName()),
                      productName, productName);
    RegisterAssociations(regtext::kExtensionList1);
    RegisterAssociations(regtext::kExtensionList2);
}

void UnregisterApplication(const std::string& mainDir, const std::string& mainProgramName,
                           const std::string& productName) {
    UnregisterAppPath(JoinDirAndName(mainDir, mainProgramName));
    UnregisterUninstall(productName);
}
