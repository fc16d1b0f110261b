#include "archive/FileStatus.h"

#include <cerrno>
#include <sys/stat.h>
#include <sys/time.h>

#include "framework/Exception.h"

namespace {

class PosixFileStatusPlatform : public FileStatusPlatform {
public:
    FileStatus GetStatus(const std::string& path) override {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            CFileException::ThrowErrno(errno, path);
        FileStatus status;
        status.modTime = st.st_mtime;
        status.accessTime = st.st_atime;
        status.size = static_cast<std::uint64_t>(st.st_size);
        if (S_ISDIR(st.st_mode))
            status.attributes |= FileAttribute::directory;
        else
            status.attributes |= FileAttribute::archive;
        if (!(st.st_mode & S_IWUSR))
            status.attributes |= FileAttribute::readOnly;
        return status;
    }

    void SetStatus(const std::string& path, const FileStatus& status, const FileStatus& current) override {
        // Times before attributes, as on Windows, where a file that has just
        // become read-only can no longer be opened to take its times.
        if (status.modTime != 0) {
            struct timeval times[2] {};
            times[0].tv_sec = static_cast<time_t>(current.accessTime);
            times[1].tv_sec = static_cast<time_t>(status.modTime);
            if (::utimes(path.c_str(), times) != 0)
                CFileException::ThrowErrno(errno, path);
        }
        if ((status.attributes & FileAttribute::readOnly) != (current.attributes & FileAttribute::readOnly)) {
            struct stat st {};
            if (::stat(path.c_str(), &st) != 0)
                CFileException::ThrowErrno(errno, path);
            mode_t mode = st.st_mode & 07777;
            if (status.attributes & FileAttribute::readOnly)
                mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
            else
                mode |= S_IWUSR;
            if (::chmod(path.c_str(), mode) != 0)
                CFileException::ThrowErrno(errno, path);
        }
    }
};

}  // namespace

FileStatusPlatform& PosixFileStatus() {
    static PosixFileStatusPlatform platform;
    return platform;
}
