#pragma once
// The kit description: an INI-like text naming the product files, where
// they are installed, which archive carries them and how large a diskette
// is. The format is documented in tools/kitbuilder/README.md. Pure.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/kitbuilder/InstallProfileWriter.h"

class KitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct KitSettings {
    std::uint64_t diskSize = 1457664;  // a 3.5" 1.44 MB diskette
    std::uint64_t profileReserve = 16384;
    std::string setupExe;          // copied to DISK01 as SETUP.EXE when given
    std::string profileName = "SETUP.ini";
    std::string labelFormat = "Disk %d";  // label of a diskette without its own line
    // Lines of the keys, for the builder's messages (0: not given).
    int diskSizeLine = 0;
    int setupExeLine = 0;
    int profileReserveLine = 0;
};

struct KitArchive {
    std::string name;  // first volume's name, e.g. DATA.A1
    std::string component;
    std::int32_t method = 4;
    int level = 9;  // kKitDefaultLevel
    std::string text;
    int line = 0;
};

struct KitFile {
    std::string name;    // name on the media or inside the archive
    std::string source;  // host path, resolved against the description's directory
    std::string component;
    std::string archive;  // empty: a single file on the media
    std::int16_t destination = 0;
    std::string text;
    int line = 0;
};

// A [tree] section: every file below a directory, or those matching its
// wildcards, each becoming a KitFile named after the file. Subdirectories
// go to the destinations of the `subdir` table, or, with `subdirs =
// create`, to new destinations named after them.
struct KitTree {
    std::string source;                 // host directory, resolved like a file's source
    std::vector<std::string> patterns;  // `*` and `?`, matched without regard to case; empty: every file
    bool recurse = true;
    std::string archive;
    std::string component;
    std::int16_t destination = 0;  // of the files directly in `source`
    bool createSubdirs = false;
    struct Subdir {
        std::string path;  // relative, '/' separated
        std::int16_t destination;
        int line;
    };
    std::vector<Subdir> subdirs;
    std::string text;
    int line = 0;
};

// An archive or a single file, in the order the description lists them;
// the diskettes are filled in this order.
struct KitUnit {
    bool isArchive;
    std::size_t index;  // into archives or files
};

struct KitDescription {
    KitSettings settings;
    std::vector<ProfileDestination> destinations;
    std::vector<ProfileComponent> components;
    std::vector<ProfileTarget> targets;
    std::vector<ProfileDiskette> diskettes;  // labels given explicitly
    std::vector<KitArchive> archives;
    std::vector<KitFile> files;
    std::vector<KitUnit> units;
};

// True for the name Setup carries on DISK01 (SETUP.EXE, any case). A single
// [file SETUP.EXE] beside setup_exe is that same file: its source defaults to
// setup_exe, and it lies on DISK01 without a second copy.
bool IsSetupProgram(const std::string& mediaName);

// Parses and checks a description. baseDir resolves relative source paths.
// [tree] sections are expanded here, from the directories as they are now,
// into files in byte order of their relative paths, at the section's place.
// Throws KitError with "line N: ..." for the first problem found.
KitDescription ParseKitDescription(const std::string& text, const std::string& baseDir);

// A key the description accepts, as --help shows it. Sections of named keys
// ([kit], [archive NAME], [file NAME], [tree NAME]) take no other key; a key
// with an upper-case word after the name ("subdir PATH") takes any text in
// that place. The line sections ([destinations], [groups], [targets],
// [diskettes]) have one entry telling the form of their lines.
struct KitKey {
    const char* section;  // "kit", "archive", "file", "tree", "destinations", ...
    const char* key;      // "disk_size", "subdir PATH"; in a line section the form of the key ("ID")
    const char* example;  // a value the parser accepts, or the form of the fields
    const char* meaning;
};
const std::vector<KitKey>& KitDescriptionKeys();

// Every section and key of KitDescriptionKeys, for --help.
std::string KitDescriptionHelp();

// True when a file name matches a wildcard (`*` any run, `?` one
// character), letters compared without regard to case as on DOS.
bool MatchesWildcard(const std::string& name, const std::string& pattern);

// The files of one tree, with destinations assigned; new destinations (for
// `subdirs = create`) are appended to destinations, ids from nextId up.
// Throws KitError naming the tree's line.
std::vector<KitFile> ExpandKitTree(const KitTree& tree, std::vector<ProfileDestination>& destinations,
                                   std::int16_t& nextId);
