#include "archive/FileStatus.h"

namespace {
FileStatusPlatform* defaultPlatform = nullptr;
}

void SetDefaultFileStatusPlatform(FileStatusPlatform* platform) {
    defaultPlatform = platform;
}

FileStatusPlatform* GetDefaultFileStatusPlatform() {
    return defaultPlatform;
}

void FileStatusPlatform::ApplyTimeAndAttributes(const std::string& path, std::int64_t modTime,
                                                std::uint8_t attributes) {
    const FileStatus current = GetStatus(path);
    FileStatus wanted = current;
    wanted.modTime = modTime;
    wanted.attributes = attributes;
    SetStatus(path, wanted, current);
}
