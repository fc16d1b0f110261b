// tvkit: builds the diskette images of a Tessaly Viewer kit from a kit
// description. Usage: tvkit DESCRIPTION OUTPUT_DIR
// Exit code 0 on success, 1 on a bad description or a failed write, 2 on
// bad usage.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "archive/ArchiveFormat.h"
#include "archive/FileStatus.h"
#include "framework/Exception.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tvkit DESCRIPTION OUTPUT_DIR\n");
        return 2;
    }
    const std::string descriptionPath = argv[1];
    std::ifstream in(descriptionPath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "tvkit: cannot read %s\n", descriptionPath.c_str());
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string baseDir = descriptionPath.substr(0, descriptionPath.size() - ArchiveFormat::FileNamePart(descriptionPath).size());
    if (baseDir.empty())
        baseDir = ".";
#ifdef _WIN32
    FileStatusPlatform& status = Win32FileStatus();
#else
    FileStatusPlatform& status = PosixFileStatus();
#endif
    try {
        KitDescription kit = ParseKitDescription(text.str(), baseDir);
        KitResult result = BuildKit(kit, argv[2], status);
        for (const std::string& line : result.listing)
            std::printf("%s\n", line.c_str());
        std::printf("%d diskette(s) written to %s\n", result.diskettes, argv[2]);
        return 0;
    } catch (const KitError& e) {
        std::fprintf(stderr, "tvkit: %s: %s\n", descriptionPath.c_str(), e.what());
    } catch (const CFileException& e) {
        std::fprintf(stderr, "tvkit: cannot read %s (file error %d)\n", e.fileName.c_str(), e.cause);
    }
    return 1;
}
