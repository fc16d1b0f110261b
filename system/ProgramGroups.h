#pragma once
// Program groups and items for the installed product: shell links in a
// folder under the Start menu's "Programs" folder when the system's major
// version is 4 or more, Program Manager commands otherwise. Windows only.

#include <windows.h>

#include <shlobj.h>

#include <optional>
#include <string>

#include "support/FilePath.h"
#include "system/ProgmanGroups.h"

class ProgramGroups : public ProgmanGroups {
public:
    // Decides by GetVersionExA.
    ProgramGroups();
    // `majorVersion` stands for the system's (tests force the Program
    // Manager path with 3); `service` as for ProgmanGroups.
    explicit ProgramGroups(DWORD majorVersion, std::string service = kService);
    ~ProgramGroups() override;

    // One item of a target. With shell links: the group folder (and its
    // parents) is created and the link saved; the show values are not used.
    // A group or item name that would leave the Programs folder: false.
    // Otherwise AddItem with the same values, without the working directory.
    virtual bool AddProgramItem(const std::string& group, const std::string& programPath,
                                const std::optional<std::string>& arguments,
                                const std::string& itemName, const std::string& iconFile,
                                int iconIndex, const std::string& workingDirectory,
                                int showCommand, int secondShowValue);
    // Shell links: deletes the link (read-only cleared first).
    bool DeleteItem(const std::string& group, const std::string& itemName) override;
    // Shell links: removes the group folder, which succeeds only when empty.
    bool DeleteGroup(const std::string& group) override;

    bool UsesShellLinks() const { return useShellLinks; }
    // The Programs folder, with a trailing backslash.
    const FilePath& ProgramsFolder() const { return programsFolder; }
    // The group's folder and an item's link file.
    FilePath GroupFolder(const std::string& group) const;
    FilePath LinkFile(const std::string& group, const std::string& itemName) const;

    // True when the group stays below the Programs folder and the item is a
    // plain file name, so its link stays inside the group's folder.
    static bool IsLinkInProgramsFolder(const std::string& group, const std::string& itemName);

    // The major version number of the running system.
    static DWORD SystemMajorVersion();

private:
    bool EnsureShellLink();

    bool useShellLinks;
    IShellLinkA* shellLink = nullptr;
    IPersistFile* persistFile = nullptr;
    bool comInitialized = false;
    FilePath programsFolder;
};
