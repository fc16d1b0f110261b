#include "tools/kitbuilder/KitImages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tools/kitbuilder/KitDescription.h"

namespace {

namespace fs = std::filesystem;

std::string DiskName(int number) {
    char name[16];
    std::snprintf(name, sizeof name, "DISK%02d", number);
    return name;
}

// Runs an mtools program and waits for it. Its environment pins what
// would otherwise come from the build machine: the time zone the file
// times are converted in, the time of the label entry, and the checks
// and long names that mtools would add on its own. Returns the exit code,
// or -1 when the program could not be started.
int RunMtools(const std::vector<std::string>& args, std::int64_t epoch) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        ::setenv("TZ", "UTC", 1);
        ::setenv("SOURCE_DATE_EPOCH", std::to_string(epoch).c_str(), 1);
        ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
        ::setenv("MTOOLS_NO_VFAT", "1", 1);
        // No question may wait for an answer (a name clash, say).
        int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0);
            ::dup2(null, 1);
        }
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "tvkit: cannot run %s: %s (install mtools)\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A name is 8.3 when mcopy gives it one directory entry under that name.
bool IsShortName(const std::string& name) {
    std::size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    return !base.empty() && base.size() <= 8 && ext.size() <= 3 && ext.find('.') == std::string::npos;
}

}  // namespace

void WriteKitImages(const KitResult& result, const std::string& outputDir, std::int64_t fileTime,
                    const std::function<void(const std::string&)>& progress) {
    if (result.disks.empty())
        return;
    const FatDiskette* fat = FatDisketteOf(result.disks[0].capacity);
    if (!fat)
        throw KitError("diskette images need disk_size 737280 (720 KB) or 1457664 (1.44 MB), not " +
                       std::to_string(result.disks[0].capacity));
    // FAT keeps times from 1980 on, in two-second steps.
    if (fileTime < 315532800)
        fileTime = 315532800;
    fileTime -= fileTime % 2;
    for (const KitDiskette& disk : result.disks) {
        const std::string dir = (fs::path(outputDir) / DiskName(disk.number)).string();
        const std::string image = (fs::path(outputDir) / (DiskName(disk.number) + ".IMG")).string();
        if (progress)
            progress("writing " + DiskName(disk.number) + ".IMG");
        std::error_code ignored;
        fs::remove(image, ignored);
        char serial[16];
        std::snprintf(serial, sizeof serial, "%08X", 0x54560000u + static_cast<unsigned>(disk.number));
        std::vector<std::string> format = {"mformat", "-C", "-i", image, "-f", std::to_string(fat->format), "-N", serial};
        const std::string label = VolumeLabel(disk.label);
        if (!label.empty()) {
            format.push_back("-v");
            format.push_back(label);
        }
        format.push_back("::");
        int code = RunMtools(format, fileTime);
        if (code != 0)
            throw KitError("mformat could not make " + image + " (exit code " + std::to_string(code) + ")");
        std::vector<std::string> copy = {"mcopy", "-i", image, "-m"};
        for (const auto& [name, size] : disk.files) {
            if (!IsShortName(name))
                throw KitError(DiskName(disk.number) + "/" + name + " has no 8.3 name; a diskette image cannot carry it");
            const std::string path = (fs::path(dir) / name).string();
            struct utimbuf times = {static_cast<time_t>(fileTime), static_cast<time_t>(fileTime)};
            if (::utime(path.c_str(), &times) != 0)
                throw KitError("cannot set the time of " + path + ": " + std::strerror(errno));
            copy.push_back(path);
        }
        copy.push_back("::");
        code = RunMtools(copy, fileTime);
        if (code != 0)
            throw KitError("mcopy could not fill " + image + " (exit code " + std::to_string(code) +
                           "); the diskette's files do not fit its image");
    }
}

std::vector<std::string> FindKitImages(const std::string& dir) {
    std::vector<std::string> images;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(dir, error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 10 && name.compare(0, 4, "DISK") == 0 && std::isdigit(static_cast<unsigned char>(name[4])) &&
            std::isdigit(static_cast<unsigned char>(name[5])) && name.compare(6, 4, ".IMG") == 0 &&
            entry.is_regular_file(error))
            images.push_back(entry.path().string());
    }
    std::sort(images.begin(), images.end());
    return images;
}

std::vector<std::string> ExtractKitImages(const std::vector<std::string>& images, const std::string& targetDir) {
    std::vector<std::string> problems;
    for (const std::string& image : images) {
        const std::string name = fs::path(image).filename().string();
        const fs::path dir = fs::path(targetDir) / name.substr(0, 6);
        std::error_code error;
        fs::create_directories(dir, error);
        if (error) {
            problems.push_back(name + ": cannot create " + dir.string() + ": " + error.message());
            continue;
        }
        int code = RunMtools({"mcopy", "-s", "-m", "-n", "-i", image, "::*", dir.string() + "/"}, 315532800);
        if (code != 0)
            problems.push_back(name + ": mcopy cannot read it (exit code " + std::to_string(code) + ")");
    }
    return problems;
}
