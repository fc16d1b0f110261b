// tvkit: builds the diskette images of a Tessaly Viewer kit from a kit
// description, and checks a finished kit.
//   tvkit [--quiet] [--threads N] [--images] DESCRIPTION OUTPUT_DIR
//   tvkit verify [--quiet] KIT_DIR [PROFILE_NAME]
// Exit code 0 on success, 1 on a bad description, a failed write or a
// damaged kit, 2 on bad usage.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "archive/FileStatus.h"
#include "framework/Exception.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"
#ifndef _WIN32
#include <stdlib.h>

#include "tools/kitbuilder/KitImages.h"
#endif

namespace {

const char kUsage[] =
    "usage: tvkit [--quiet] [--threads N] [--images] DESCRIPTION OUTPUT_DIR\n"
    "       tvkit verify [--quiet] KIT_DIR [PROFILE_NAME]\n"
    "       tvkit --help\n";

// The options, as --help lists them.
struct Option {
    const char* name;
    const char* argument;
    const char* meaning;
};
const Option kOptions[] = {
    {"--quiet", "", "no progress lines on stderr (the listing and summary still go to stdout)"},
    {"--threads", "N", "deflate N members at once; 0 or absent: one per processor (the kit is the same for any N)"},
    {"--images", "",
     "also write DISK01.IMG, DISK02.IMG, ...: FAT12 images of the diskettes (disk_size 737280 or 1457664), "
     "made with mtools; not in the Windows build"},
    {"--help", "", "this text (also -h)"},
};

void PrintHelp() {
    std::fputs(kUsage, stdout);
    std::fputs("\n"
               "The first form builds a kit: DISK01, DISK02, ... below the empty OUTPUT_DIR,\n"
               "from the kit description (see tools/kitbuilder/README.md), lists every file\n"
               "and member written on stdout and ends with a summary: each diskette and how\n"
               "full it is, the members deflated and stored, bytes before and after.\n"
               "'verify' reads a finished kit: every archive volume and member, every\n"
               "checksum, and the install profile (default SETUP.ini) against the diskettes;\n"
               "the DISKnn directories of KIT_DIR and its DISKnn.IMG images, each that is there.\n"
               "Exit code: 0 success, 1 bad description, failed write or damaged kit, 2 bad usage.\n"
               "\nOptions:\n",
               stdout);
    for (const Option& o : kOptions)
        std::printf("  %s%s%s\n      %s\n", o.name, *o.argument ? " " : "", o.argument, o.meaning);
    std::fputs("\nThe description: sections and their keys (lines starting with ; or # are comments):\n", stdout);
    std::fputs(KitDescriptionHelp().c_str(), stdout);
}

int Verify(const std::vector<std::string>& args, bool quiet) {
    if (args.empty() || args.size() > 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    auto progress = [quiet](const std::string& line) {
        if (!quiet)
            std::fprintf(stderr, "%s\n", line.c_str());
    };
    const std::string profile = args.size() > 1 ? args[1] : "SETUP.ini";
    auto report = [](const std::string& what, const KitVerifyResult& result) {
        for (const std::string& problem : result.problems)
            std::printf("damaged: %s%s\n", what.empty() ? "" : (what + ": ").c_str(), problem.c_str());
        std::printf("%s%d archive(s), %d member(s), %d single file(s): %s\n", what.empty() ? "" : (what + ": ").c_str(),
                    result.archives, result.members, result.singleFiles,
                    result.problems.empty() ? "kit is sound" : "KIT IS DAMAGED");
        return result.problems.empty();
    };
    bool sound = true;
    bool images = false;
#ifndef _WIN32
    // The images are unpacked as a drive would show them, and that is
    // verified like the directories.
    const std::vector<std::string> found = FindKitImages(args[0]);
    if (!found.empty()) {
        images = true;
        std::string pattern = (std::filesystem::temp_directory_path() / "tvkit-verify-XXXXXX").string();
        const char* temp = ::mkdtemp(&pattern[0]);
        if (!temp) {
            std::fprintf(stderr, "tvkit: cannot make a temporary directory\n");
            return 1;
        }
        progress("unpacking " + std::to_string(found.size()) + " image(s) into " + temp);
        KitVerifyResult result;
        result.problems = ExtractKitImages(found, temp);
        if (result.problems.empty())
            result = VerifyKit(temp, profile, progress);
        std::error_code ignored;
        std::filesystem::remove_all(temp, ignored);
        sound = report("DISK*.IMG", result);
    }
#endif
    if (!images || std::filesystem::exists(std::filesystem::path(args[0]) / "DISK01"))
        sound = report("", VerifyKit(args[0], profile, progress)) && sound;
    return sound ? 0 : 1;
}

int Build(const std::vector<std::string>& args, bool quiet, int threads, bool images) {
    if (args.size() != 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string& descriptionPath = args[0];
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
    auto progress = [quiet](const std::string& line) {
        if (!quiet)
            std::fprintf(stderr, "%s\n", line.c_str());
    };
    try {
        KitDescription kit = ParseKitDescription(text.str(), baseDir);
        if (images && !FatDisketteOf(kit.settings.diskSize))
            throw KitError((kit.settings.diskSizeLine ? "line " + std::to_string(kit.settings.diskSizeLine) + ": " : "") +
                           "diskette images need disk_size 737280 (720 KB) or 1457664 (1.44 MB), not " +
                           std::to_string(kit.settings.diskSize));
#ifndef _WIN32
        // As with DISK01: images of an older kit would be taken for this one's.
        if (images && !FindKitImages(args[1]).empty())
            throw KitError(args[1] + " already holds diskette images (DISK*.IMG); write into an empty directory");
#endif
        KitResult result = BuildKit(kit, args[1], status, progress, threads);
#ifndef _WIN32
        if (images)
            WriteKitImages(result, args[1], result.newestSourceTime, progress);
#endif
        for (const std::string& line : result.listing)
            std::printf("%s\n", line.c_str());
        std::printf("%d diskette(s) written to %s\n", result.diskettes, args[1].c_str());
        if (images)
            std::printf("%d diskette image(s) written: DISK01.IMG to DISK%02d.IMG\n", result.diskettes, result.diskettes);
        for (const std::string& line : KitSummary(result))
            std::printf("%s\n", line.c_str());
        return 0;
    } catch (const KitError& e) {
        std::fprintf(stderr, "tvkit: %s: %s\n", descriptionPath.c_str(), e.what());
    } catch (const CFileException& e) {
        std::fprintf(stderr, "tvkit: cannot read %s (file error %d)\n", e.fileName.c_str(), e.cause);
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    bool quiet = false;
    bool verify = false;
    int threads = 0;
    bool images = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            PrintHelp();
            return 0;
        }
        if (std::strcmp(argv[i], "--quiet") == 0)
            quiet = true;
        else if (std::strcmp(argv[i], "--images") == 0) {
#ifdef _WIN32
            std::fprintf(stderr, "tvkit: diskette images are not supported on Windows (they are made with mtools)\n");
            return 2;
#else
            images = true;
#endif
        } else if (std::strcmp(argv[i], "--threads") == 0) {
            char* end = nullptr;
            long n = i + 1 < argc ? std::strtol(argv[i + 1], &end, 10) : -1;
            if (i + 1 >= argc || !*argv[i + 1] || *end || n < 0 || n > 256) {
                std::fprintf(stderr, "tvkit: --threads takes a number from 0 to 256\n");
                return 2;
            }
            threads = static_cast<int>(n);
            ++i;
        }
        else if (i == 1 && std::strcmp(argv[i], "verify") == 0)
            verify = true;
        else if (argv[i][0] == '-' && argv[i][1] == '-') {
            std::fprintf(stderr, "tvkit: unknown option %s\n", argv[i]);
            std::fputs(kUsage, stderr);
            return 2;
        } else
            args.push_back(argv[i]);
    }
    if (verify && (images || threads != 0)) {
        std::fprintf(stderr, "tvkit: verify takes --quiet only\n");
        return 2;
    }
    return verify ? Verify(args, quiet) : Build(args, quiet, threads, images);
}
