#pragma once
// Lays a kit out over diskettes and writes it: directories DISK01, DISK02,
// ... holding the archive volumes and single files, SETUP.EXE and the
// install profile in DISK01. Diskettes are filled in the description's
// order; an archive continues volume by volume onto the following
// diskettes, as Setup's reader expects. A disk_size of 720 KB or 1.44 MB
// is filled as the FAT12 diskette of that size holds files (whole clusters,
// a root directory of fixed size), so that every diskette fits its image;
// other sizes are filled to the byte.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/FileStatus.h"
#include "tools/kitbuilder/InstallProfileWriter.h"
#include "tools/kitbuilder/KitDescription.h"

// The FAT12 layout of a 720 KB or 1.44 MB diskette, as mformat makes it.
// On such a diskette a file takes whole clusters and one of the root
// directory's entries (an 8.3 name has no long-name entries); the volume
// label takes up to two more.
struct FatDiskette {
    std::uint64_t diskSize;
    int format;  // mformat -f: 720 or 1440
    std::uint32_t clusterSize;
    std::uint32_t clusters;
    std::uint32_t rootEntries;
};
constexpr std::uint32_t kLabelRootEntries = 2;
// The layout for a disk_size, or null for sizes that are counted in bytes.
const FatDiskette* FatDisketteOf(std::uint64_t diskSize);
// The volume label of a diskette's image: its label cut to 11 characters,
// trailing blanks dropped.
std::string VolumeLabel(const std::string& label);
// Root entries that label takes: none, one, or two when it has lower-case
// letters (mformat keeps their case in a long-name entry).
std::uint32_t VolumeLabelEntries(const std::string& label);

// One diskette as written.
struct KitDiskette {
    int number = 0;
    std::string label;  // as the profile gives it
    std::vector<std::pair<std::string, std::uint64_t>> files;  // name and size, in the order written
    std::uint64_t bytes = 0;     // of all its files
    std::uint64_t capacity = 0;  // disk_size
    // On a FAT diskette: clusters its files take, and root entries with the label's.
    std::uint32_t clusters = 0;
    std::uint32_t rootEntries = 0;
};

struct KitResult {
    int diskettes = 0;
    InstallProfile profile;
    std::string profileText;
    std::vector<std::string> listing;  // one line per file written, for the user
    std::vector<KitDiskette> disks;    // DISK01, DISK02, ...
    // Archive members by the method they got, with their installed bytes
    // and the bytes the archives carry for them (headers not counted).
    int membersStored = 0;
    int membersDeflated = 0;
    std::uint64_t memberBytesBefore = 0;
    std::uint64_t memberBytesAfter = 0;
    // Single files on the diskettes (SETUP.EXE and the profile not counted).
    int singleFiles = 0;
    std::uint64_t singleFileBytes = 0;
    // The newest modification time of the sources (seconds since 1970 UTC;
    // 0 when none is known): what the files of diskette images carry.
    std::int64_t newestSourceTime = 0;
};

// The lines tvkit ends a build with: each diskette and how full it is, the
// members stored and deflated, bytes before and after.
std::vector<std::string> KitSummary(const KitResult& result);

// Reads the sources (times and attributes through status), writes the kit
// below outputDir and returns what was written. Throws KitError. progress
// (optional) hears a line per file read and per diskette written.
// The output depends on nothing but the sources, their modification times
// and attributes: two builds of the same input are byte for byte the same.
// threads: how many members are deflated at once (0: one per processor);
// the kit is the same for every count, being laid out in one fixed order.
KitResult BuildKit(const KitDescription& kit, const std::string& outputDir, FileStatusPlatform& status,
                   const std::function<void(const std::string&)>& progress = {}, int threads = 0);
