#pragma once
// The removal pass of an uninstall: deletes every file the install log
// lists, lowers the counts of the shared files in the System directory,
// removes the program items and their group, then the empty install
// directories. Portable: what it does to the system goes through
// RemovalActions (RemovalActions_win.cpp binds the real file system,
// registry and shell), the log comes in as a ProfileSource.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/ProfileSource.h"
#include "profile/TargetMap.h"

// The clean-up program, which deletes the Setup copy after Setup exited.
extern const char kCleanupProgramName[];  // "_qzdinst.exe"

class RemovalActions {
public:
    virtual ~RemovalActions() = default;
    // Shows the path being removed, lets pending window messages through and
    // handles a pending cancel. False when the user confirmed the cancel:
    // the pass then stops at once.
    virtual bool ShowProgress(const std::string& path) = 0;
    // One user fewer of the shared file (0 stays 0; at 0 the count goes).
    virtual void LowerSharedCount(const std::string& path) = 0;
    // Clears the read-only attribute and deletes the file; failures
    // (missing, in use, no access) are ignored.
    virtual void DeleteInstalledFile(const std::string& path) = 0;
    // The program item titled `itemName` in `group`; failures are ignored.
    virtual void DeleteProgramItem(const std::string& group, const std::string& itemName) = 0;
    virtual void DeleteProgramGroup(const std::string& group) = 0;
    // Removes the directory when it is empty; failures are ignored.
    virtual void RemoveInstallDirectory(const std::string& path) = 0;
    // Lets pending window messages through.
    virtual void Pump() = 0;
};

// One file line of a component section: "<destination>|<placed>|<replaced>".
struct RemovalFileLine {
    std::int16_t destination = 0;
    int placed = 0;
    int replaced = 0;
};

// Reads a file line's value. False for a damaged line: fewer than three
// fields, or a destination that is not a decimal 16-bit number.
bool ParseRemovalFileLine(const std::string& value, RemovalFileLine& line);

// The directories the pass removes: every destination with an id of 0 or
// more and a path, deepest first (a nested directory must go before the
// one that holds it), otherwise in the map's order, each directory once.
std::vector<std::string> RemovalDirectoryOrder(const DestinationMap& destinations);

struct RemovalRequest {
    // Uninstall mode removes every component; otherwise only those whose
    // removeRequested flag is set.
    bool removeAllComponents = true;
    std::string groupName;  // the program group of the items
    // File names that are never deleted (compared without case): the
    // running Setup copy, which cannot delete itself, and the clean-up
    // program, which deletes it once Setup has exited.
    std::vector<std::string> sparedNames;
};

// A pending cancel, looked at once per file: when one was requested,
// `confirm` asks whether to abandon Setup. No withdraws the request and the
// pass goes on (true); Yes stops it (false).
bool GoOnAfterCancelRequest(bool& cancelRequested, const std::function<bool()>& confirm);

enum class RemovalOutcome { Completed, Cancelled };

class RemovalPass {
public:
    // Nothing is owned; everything must outlive the pass.
    RemovalPass(ProfileSource& log, const DestinationMap& destinations, const ComponentMap& components,
                const TargetMap& targets, RemovalActions& actions);

    // Files of each component section, then the program items and the
    // group, then the directories. Cancelled when ShowProgress said so;
    // nothing more is removed then.
    RemovalOutcome Run(const RemovalRequest& request);

private:
    bool RemoveComponentFiles(const Component& component, const RemovalRequest& request);
    void RemoveProgramItems(const std::string& groupName);
    void RemoveDirectories();

    ProfileSource& log;
    const DestinationMap& destinations;
    const ComponentMap& components;
    const TargetMap& targets;
    RemovalActions& actions;
};
