#pragma once
// The copy engine's view of the install: destination directories from the
// DestinationMap, program items in the TargetMap, and the replacement at the
// next start with the application's restart flag. Portable: the delayed
// move and the flag come in as callbacks (the application passes
// ReplaceAtReboot and a setter of its restartNeeded).

#include <functional>
#include <string>

#include "archive/InstallEntry.h"
#include "profile/DestinationMap.h"
#include "profile/TargetMap.h"

class DataModelInstallSite : public InstallSite {
public:
    using Scheduler = std::function<bool(const std::string& newFile, const std::string& existingFile)>;
    using RestartMarker = std::function<void()>;

    // Nothing is owned; the maps must outlive the site.
    DataModelInstallSite(const DestinationMap& destinations, TargetMap& targets, Scheduler schedule,
                         RestartMarker markRestartNeeded);

    std::string DestinationPath(std::int16_t destination) override;
    // Marks the restart first, then schedules; the schedule's result is not
    // examined (it reports failure only by value, and nothing can be undone).
    void ScheduleReplacement(const std::string& newFile, const std::string& existingFile) override;
    void SetInstalledPath(const std::string& fileName, const std::string& path) override;

private:
    const DestinationMap& destinations;
    TargetMap& targets;
    Scheduler schedule;
    RestartMarker markRestartNeeded;
};
