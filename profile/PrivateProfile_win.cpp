#include "profile/PrivateProfile.h"

#include <windows.h>

#include "profile/ProfileEntry.h"
#include "profile/ProfileSectionReader.h"

std::vector<std::string> PrivateProfile::Keys(const std::string& section) {
    std::vector<std::string> keys;
    ProfileSectionReader reader(section, file);
    ProfileString entry;
    for (bool more = reader.First(entry); more; more = reader.Next(entry)) keys.push_back(entry.key);
    return keys;
}

std::string PrivateProfile::Value(const std::string& section, const std::string& key) {
    ProfileString entry(std::string(), section, key, file);
    entry.Read();
    return entry.value;
}

void PrivateProfile::Write(const std::string& section, const std::string& key, const std::string& value) {
    ProfileString entry(std::string(), section, key, file);
    entry.value = value;
    entry.Write();
}

void LoadProfile(const FilePath& profilePath, const ProfileContainers& containers, const MessagePump& pump,
                 const SourceFileFactory& makeSourceFile) {
    PrivateProfile profile(profilePath);
    LoadProfile(profile, containers, pump, makeSourceFile);
}

void SaveProfileSections(const FilePath& logPath, const DestinationMap& destinations,
                         const ComponentMap& components, const TargetMap& targets) {
    PrivateProfile log(logPath);
    SaveProfileSections(log, destinations, components, targets);
}

std::unique_ptr<DestinationMap> NewDestinationMap() {
    return std::make_unique<DestinationMap>(FilePath(FilePathKind::kWindowsDirectory).GetPath(),
                                            FilePath(FilePathKind::kSystemDirectory).GetPath(),
                                            FilePath(FilePathKind::kTempDirectory).GetPath());
}
