#pragma once
// Shared pieces of the fuzz targets: a file status platform that changes
// nothing, a locator over numbered volume files, and seed archives.

#include <cstdint>
#include <string>
#include <vector>

#include "archive/FileStatus.h"
#include "archive/MediaMultiFile.h"
#include "archive/MultiFileWriter.h"

namespace fuzz {

class NullFileStatus : public FileStatusPlatform {
public:
    FileStatus GetStatus(const std::string&) override { return {}; }
    void SetStatus(const std::string&, const FileStatus&, const FileStatus&) override {}
};

// Volume i (from 1) of the current input lives in dir/<i>/<name>.
class VolumeLocator : public SourceLocator {
public:
    std::string root;
    int volumes = 0;
    std::string current;
    bool LocateSourceFile(const std::string&, int diskette) override {
        if (diskette < 1 || diskette > volumes)
            return false;
        current = root + "/" + std::to_string(diskette);
        return true;
    }
    std::string SourceDirectory() const override { return current; }
};

// A per-process scratch directory below the system's temporary directory.
std::string ScratchRoot();

// Archives written by the writer: stored, deflated, empty, spanning.
std::vector<std::vector<std::vector<unsigned char>>> SeedArchives();

std::vector<unsigned char> SeedPayload(std::size_t n, std::uint32_t seed);

}  // namespace fuzz
