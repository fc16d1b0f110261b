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
