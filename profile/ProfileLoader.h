#pragma once
// Builds the install data model from a profile-format file (the install
// profile, or the install log in uninstall mode). Portable: no <windows.h>.

#include <functional>
#include <memory>
#include <string>

#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/DisketteArray.h"
#include "profile/ProfileSource.h"
#include "profile/SourceFileList.h"
#include "profile/TargetMap.h"

extern const char kDestinationsSection[];  // "destinations"
extern const char kGroupsSection[];        // "groups"
extern const char kTargetsSection[];       // "targets"
extern const char kDiskettesSection[];     // "diskettes"

// The five containers the application object owns.
struct ProfileContainers {
    DestinationMap& destinations;
    ComponentMap& components;
    TargetMap& targets;
    SourceFileList& sourceFiles;
    DisketteArray& diskettes;
};

// Dispatches the window messages waiting for the thread. Loading calls it
// after each section so the backdrop and the page stay painted.
using MessagePump = std::function<void()>;

// Makes the record for one source-file line, so the layer that reads the
// media can store its own subclass in the list. Empty: plain SourceFile.
using SourceFileFactory = std::function<std::unique_ptr<SourceFile>()>;

// Reads "destinations", "groups", "targets", each component's own section
// (in the order of the component map) and "diskettes", pumping after each.
// Throws CInstallProfileException cause 0 when "destinations" has no key
// (missing file, section or keys), before anything is stored; cause 1 for a
// diskette number above kMaxDisketteNumber. Containers filled before a throw
// keep what they hold. Other missing sections leave their container empty.
void LoadProfile(ProfileSource& profile, const ProfileContainers& containers, const MessagePump& pump,
                 const SourceFileFactory& makeSourceFile = nullptr);

// One line of each section, as LoadProfile handles it. A numeric field that
// is missing reads as 0, except a destination's parent and a source file's
// destination, which read as -1 (none, not installed).
void LoadDestinationLine(DestinationMap& destinations, const std::string& key, const std::string& value);
std::unique_ptr<Component> MakeComponent(const std::string& key, const std::string& value);
std::unique_ptr<Target> MakeTarget(const std::string& key, const std::string& value);
void FillSourceFile(SourceFile& item, const std::string& key, const std::string& value, Component* component);
// Negative diskette numbers name no diskette and are ignored.
void LoadDisketteLine(DisketteArray& diskettes, const std::string& key, const std::string& value);
