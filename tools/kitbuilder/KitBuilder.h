#pragma once
// Lays a kit out over diskettes and writes it: directories DISK01, DISK02,
// ... holding the archive volumes and single files, SETUP.EXE and the
// install profile in DISK01. Diskettes are filled in the description's
// order; an archive continues volume by volume onto the following
// diskettes, as Setup's reader expects.

#include <functional>
#include <string>
#include <vector>

#include "archive/FileStatus.h"
#include "tools/kitbuilder/InstallProfileWriter.h"
#include "tools/kitbuilder/KitDescription.h"

struct KitResult {
    int diskettes = 0;
    InstallProfile profile;
    std::string profileText;
    std::vector<std::string> listing;  // one line per file written, for the user
};

// Reads the sources (times and attributes through status), writes the kit
// below outputDir and returns what was written. Throws KitError. progress
// (optional) hears a line per file read and per diskette written.
// The output depends on nothing but the sources, their modification times
// and attributes: two builds of the same input are byte for byte the same.
// threads: how many members are deflated at once (0: one per processor);
// the kit is the same for every count, being laid out in one fixed order.
KitResult BuildKit(const KitDescription& kit, const std::string& outputDir, FileStatusPlatform& status,
                   const std::function<void(const std::string&)>& progress = {}, int threads = 0);
