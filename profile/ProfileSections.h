#pragma once
// The three sections an install writes back into its log, in the formats the
// loader reads: "destinations", "groups", "targets". Portable: no <windows.h>.

#include <string>
#include <vector>

#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/ProfileSource.h"
#include "profile/TargetMap.h"

struct ProfileLine {
    std::string section;
    std::string key;
    std::string value;
};

// The lines to write, in writing order: every destination with id 0 or
// greater ("%s|%d|%s": name, parent, path), every component
// ("%s|%s|%d|%d|%d": name, description, minimum, typical, custom), every
// target with a path, keyed by its upper-cased key
// ("%d|%d|%d|%s|%s|%s|%s": icon, number, minimized, item name, arguments,
// icon file, path). Each container in its iteration order.
std::vector<ProfileLine> ProfileSectionLines(const DestinationMap& destinations, const ComponentMap& components,
                                             const TargetMap& targets);

// Writes those lines one key at a time, so an existing key is replaced and
// other keys stay.
void SaveProfileSections(ProfileSink& sink, const DestinationMap& destinations, const ComponentMap& components,
                         const TargetMap& targets);
