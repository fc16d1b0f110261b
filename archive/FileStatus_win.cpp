#include "archive/FileStatus.h"

#include <windows.h>

#include "framework/Exception.h"
#include "framework/Handle.h"

namespace {

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01 (the archive's epoch).
constexpr std::int64_t kEpochDifference = 11644473600LL;

std::int64_t ToSeconds(const FILETIME& ft) {
    ULARGE_INTEGER v;
    v.LowPart = ft.dwLowDateTime;
    v.HighPart = ft.dwHighDateTime;
    if (v.QuadPart == 0)
        return 0;
    return static_cast<std::int64_t>(v.QuadPart / 10000000ULL) - kEpochDifference;
}

FILETIME ToFileTime(std::int64_t seconds) {
    ULARGE_INTEGER v;
    v.QuadPart = seconds == 0 ? 0 : static_cast<ULONGLONG>(seconds + kEpochDifference) * 10000000ULL;
    FILETIME ft;
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    return ft;
}

class Win32FileStatusPlatform : public FileStatusPlatform {
public:
    FileStatus GetStatus(const std::string& path) override {
        // FindFirstFileA gives times, size and attributes in one call on
        // Windows 95 and NT alike (GetFileAttributesExA is not on 95 gold).
        WIN32_FIND_DATAA data;
        UniqueFind find(FindFirstFileA(path.c_str(), &data));
        if (!find.IsValid())
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
        FileStatus status;
        status.modTime = ToSeconds(data.ftLastWriteTime);
        status.accessTime = ToSeconds(data.ftLastAccessTime);
        status.createTime = ToSeconds(data.ftCreationTime);
        status.attributes = static_cast<std::uint8_t>(data.dwFileAttributes & 0xFF);
        status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        return status;
    }

    void SetStatus(const std::string& path, const FileStatus& status, const FileStatus& current) override {
        // Times first: once the read-only bit is set the file can no longer
        // be opened for writing to take them.
        if (status.modTime != 0) {
            FILETIME created = ToFileTime(current.createTime);
            FILETIME accessed = ToFileTime(current.accessTime);
            SetTimes(path, current.createTime ? &created : nullptr, current.accessTime ? &accessed : nullptr,
                     status.modTime);
        }
        SetAttributesWhenChanged(path, status.attributes, current.attributes);
    }

    void ApplyTimeAndAttributes(const std::string& path, std::int64_t modTime, std::uint8_t attributes) override {
        // Once per installed file. GetFileAttributesA instead of the search
        // that GetStatus makes, and no creation and access times to write
        // back (null leaves them as they are, to the fraction of a second):
        // under Wine the search alone is four server requests of the twenty
        // or so that placing a small file took.
        const DWORD current = GetFileAttributesA(path.c_str());
        if (current == INVALID_FILE_ATTRIBUTES)
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
        if (modTime != 0)
            SetTimes(path, nullptr, nullptr, modTime);
        SetAttributesWhenChanged(path, attributes, static_cast<std::uint8_t>(current & 0xFF));
    }

private:
    static void SetTimes(const std::string& path, const FILETIME* created, const FILETIME* accessed,
                         std::int64_t modTime) {
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file.IsValid())
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
        FILETIME modified = ToFileTime(modTime);
        if (!SetFileTime(file.Get(), created, accessed, &modified))
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
    }

    static void SetAttributesWhenChanged(const std::string& path, std::uint8_t wanted, std::uint8_t current) {
        // Only the bits a file can carry: a directory or volume bit in a
        // damaged header must not make SetFileAttributesA fail.
        const DWORD settable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE;
        if ((wanted & settable) == (current & settable))
            return;
        // Zero is not accepted by Windows 95; the plain file attribute is
        // spelled out instead.
        DWORD attributes = wanted & settable;
        if (attributes == 0)
            attributes = FILE_ATTRIBUTE_NORMAL;
        if (!SetFileAttributesA(path.c_str(), attributes))
            CFileException::ThrowOsError(static_cast<long>(GetLastError()), path);
    }
};

}  // namespace

FileStatusPlatform& Win32FileStatus() {
    static Win32FileStatusPlatform platform;
    return platform;
}
