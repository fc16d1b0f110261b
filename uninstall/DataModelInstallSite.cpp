#include "uninstall/DataModelInstallSite.h"

#include <utility>

DataModelInstallSite::DataModelInstallSite(const DestinationMap& destinations, TargetMap& targets,
                                           Scheduler schedule, RestartMarker markRestartNeeded)
    : destinations(destinations), targets(targets), schedule(std::move(schedule)),
      markRestartNeeded(std::move(markRestartNeeded)) {}

std::string DataModelInstallSite::DestinationPath(std::int16_t destination) {
    return destinations.GetPath(destination);
}

void DataModelInstallSite::ScheduleReplacement(const std::string& newFile, const std::string& existingFile) {
    if (markRestartNeeded)
        markRestartNeeded();
    if (schedule)
        schedule(newFile, existingFile);
}

void DataModelInstallSite::SetInstalledPath(const std::string& fileName, const std::string& path) {
    targets.SetInstalledPath(fileName, path);
}
