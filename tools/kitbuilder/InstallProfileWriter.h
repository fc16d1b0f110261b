#pragma once
// The install profile that Setup reads (SETUP.ini beside SETUP.EXE): the
// sections "destinations", "groups", "targets", one per component and
// "diskettes", values as fields separated by "|". Pure: builds the text.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ProfileDestination {
    std::int16_t id = 0;
    std::string name;
    std::int16_t parent = -1;
    std::string path;
};

struct ProfileComponent {
    std::string key;
    std::string name;
    std::string description;
    int minimum = 0;
    int typical = 0;
    int custom = 0;
};

struct ProfileTarget {
    std::string key;
    std::int16_t icon = 0;
    std::int16_t number = 0;
    int minimized = 0;
    std::string itemName;
    std::string arguments;
    std::string iconFile;
    std::string path;
};

struct ProfileSourceFile {
    std::string name;            // file name on the media (first volume of an archive)
    std::int32_t size = 0;       // bytes once installed
    std::int16_t kind = 0;       // 0 single file, 1 multi-file archive
    std::int16_t count = 1;      // files it installs
    std::int16_t diskette = 1;   // negative: same diskette, after its other items
    std::int16_t destination = 0;
    std::string text;
};

struct ProfileDiskette {
    std::int32_t number = 1;
    std::string label;
    std::string text;
};

struct InstallProfile {
    std::vector<ProfileDestination> destinations;
    std::vector<ProfileComponent> components;
    std::vector<ProfileTarget> targets;
    // Component key and its files, in component order.
    std::vector<std::pair<std::string, std::vector<ProfileSourceFile>>> componentFiles;
    std::vector<ProfileDiskette> diskettes;
};

// The profile text, CR LF line ends, sections in Setup's load order.
std::string WriteInstallProfile(const InstallProfile& profile);
