#pragma once
// A real profile-format file as a ProfileSource and ProfileSink, and the
// load and save steps over one. Declarations are portable; the
// implementation is Windows only.

#include <memory>
#include <string>

#include "profile/ProfileLoader.h"
#include "profile/ProfileSections.h"
#include "profile/ProfileSource.h"

class PrivateProfile : public ProfileSource, public ProfileSink {
public:
    explicit PrivateProfile(const FilePath& file) : file(file) {}

    // Through ProfileSectionReader: keys in file order.
    std::vector<std::string> Keys(const std::string& section) override;
    // Through ProfileString::Read, with an empty default.
    std::string Value(const std::string& section, const std::string& key) override;
    // Through ProfileString::Write, one key per call.
    void Write(const std::string& section, const std::string& key, const std::string& value) override;

private:
    FilePath file;
};

// LoadProfile over the file `profilePath` (the install profile, or the
// install log in uninstall mode).
void LoadProfile(const FilePath& profilePath, const ProfileContainers& containers, const MessagePump& pump,
                 const SourceFileFactory& makeSourceFile = nullptr);

// Writes "destinations", "groups" and "targets" into the file `logPath`.
void SaveProfileSections(const FilePath& logPath, const DestinationMap& destinations,
                         const ComponentMap& components, const TargetMap& targets);

// A destination map holding the system's Windows, System and temporary
// directories as -2, -3 and -4.
std::unique_ptr<DestinationMap> NewDestinationMap();
