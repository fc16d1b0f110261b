#pragma once
// File times and attributes of a member's output file, behind a platform
// interface: the archive core stays portable, Windows sets them with Win32
// calls (FileStatus_win.cpp) and the host kit builder reads them with POSIX
// calls (FileStatus_posix.cpp).

#include <cstdint>
#include <string>

struct FileStatus {
    std::int64_t modTime = 0;     // seconds since 1970-01-01 00:00 UTC; 0 = unknown
    std::int64_t accessTime = 0;  // same scale
    std::int64_t createTime = 0;  // same scale; 0 where the platform has none
    std::uint8_t attributes = 0;  // 1 read-only, 2 hidden, 4 system, 0x10 directory, 0x20 archive
    std::uint64_t size = 0;
};

namespace FileAttribute {
constexpr std::uint8_t readOnly = 0x01;
constexpr std::uint8_t hidden = 0x02;
constexpr std::uint8_t system = 0x04;
constexpr std::uint8_t directory = 0x10;
constexpr std::uint8_t archive = 0x20;
}  // namespace FileAttribute

class FileStatusPlatform {
public:
    virtual ~FileStatusPlatform() = default;
    // Reads the status of path; throws CFileException when it cannot.
    virtual FileStatus GetStatus(const std::string& path) = 0;
    // Changes the attributes when they differ from `current`; sets the
    // modification time (keeping the creation and access times of `current`)
    // only when status.modTime is nonzero. Throws CFileException.
    virtual void SetStatus(const std::string& path, const FileStatus& status, const FileStatus& current) = 0;
    // What an extracted member's output gets: the modification time (when
    // nonzero; the creation and access times stay as they are) and the
    // attribute byte (changed when it differs). The same as GetStatus then
    // SetStatus, which is what this does unless a platform can do it with
    // fewer calls. Throws CFileException.
    virtual void ApplyTimeAndAttributes(const std::string& path, std::int64_t modTime, std::uint8_t attributes);
};

// The platform used by entries that were given none. The Windows program
// and the host tools install theirs at start-up; none is installed by
// default, and using an entry's status without one raises
// CNotSupportedException.
void SetDefaultFileStatusPlatform(FileStatusPlatform* platform);
FileStatusPlatform* GetDefaultFileStatusPlatform();

#ifdef _WIN32
// Win32: GetFileAttributesA, GetFileTime/SetFileTime, SetFileAttributesA.
FileStatusPlatform& Win32FileStatus();
#else
// POSIX: stat, utimes, chmod (read-only maps to the owner's write bit).
FileStatusPlatform& PosixFileStatus();
#endif
