#include "support/FilePath.h"

#include <windows.h>

#include <direct.h>

#include <cerrno>
#include <cstdlib>

#include "framework/Exception.h"

// The class's members, not the <windows.h> macros of the same names.
#undef CreateDirectory
#undef RemoveDirectory
#undef GetDiskFreeSpace
#undef GetFileTitle

namespace {

// Every system query fills a buffer of MAX_PATH characters.
static_assert(kMaxPathLength + 1 == MAX_PATH, "path limit");

// A search handle that is closed whatever happens.
class FindHandle {
public:
    explicit FindHandle(const char* pattern) : handle_(::FindFirstFileA(pattern, &data_)) {}
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Data() const { return data_; }

private:
    WIN32_FIND_DATAA data_{};
    HANDLE handle_;
};

// No text longer than the system limit is handed to the system: it would be
// refused there anyway, or on some systems overrun a fixed buffer.
bool Refuse(const std::string& text) {
    if (text.size() <= kMaxPathLength)
        return false;
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    errno = ENAMETOOLONG;
    _doserrno = ERROR_FILENAME_EXCED_RANGE;
    return true;
}

bool SearchFinds(const std::string& pattern) {
    if (Refuse(pattern))
        return false;
    return FindHandle(pattern.c_str()).Found();
}

std::string DriveRoot(const FilePath& path) {
    const std::string drive = path.GetDrive();
    return drive.empty() ? std::string() : drive + ":\\";
}

}  // namespace

FilePath::FilePath(FilePathKind kind) {
    char buffer[MAX_PATH] = {};
    DWORD length = 0;
    switch (kind) {
    case FilePathKind::kCurrentDirectory: length = ::GetCurrentDirectoryA(MAX_PATH, buffer); break;
    case FilePathKind::kWindowsDirectory: length = ::GetWindowsDirectoryA(buffer, MAX_PATH); break;
    case FilePathKind::kSystemDirectory: length = ::GetSystemDirectoryA(buffer, MAX_PATH); break;
    case FilePathKind::kModuleDirectory: length = ::GetModuleFileNameA(nullptr, buffer, MAX_PATH); break;
    case FilePathKind::kTempDirectory: length = ::GetTempPathA(MAX_PATH, buffer); break;
    default: return;
    }
    // A failed query, or one whose answer did not fit (the call then returns
    // the size it needs, or a cut and possibly unterminated module name),
    // leaves the path empty rather than naming some other directory.
    if (length == 0 || length >= MAX_PATH)
        return;
    buffer[length] = '\0';
    if (kind == FilePathKind::kModuleDirectory || kind == FilePathKind::kTempDirectory) {
        path_ = buffer;
        SetFileName("");
    } else {
        SetFullDirectory(buffer);
    }
}

bool FilePath::Exists() const { return SearchFinds(path_); }

bool FilePath::DirectoryExists() const {
    FilePath pattern(*this);
    pattern.SetFileName("*.*");
    return SearchFinds(pattern.path_);
}

bool FilePath::EnterDirectory() const {
    const std::string directory = GetDirectory();
    if (directory.empty() || Refuse(directory))
        return false;
    // The runtime's call, not SetCurrentDirectoryA: it also records the
    // drive's current directory in the environment ("=C:").
    return ::_chdir(directory.c_str()) == 0;
}

bool FilePath::RemoveDirectory() const {
    const std::string directory = GetDirectory();
    if (directory.empty() || Refuse(directory))
        return false;
    return ::RemoveDirectoryA(directory.c_str()) != FALSE;
}

bool FilePath::CreateDirectory(bool recursive) const {
    std::string directory = path_;
    RemoveTrailingBackslash(directory);
    if (Refuse(directory))
        return false;
    if (::_mkdir(directory.c_str()) == 0)
        return true;
    // The caller reports the failure of the creation, not of the check below.
    const int mkdirErrno = errno;
    const unsigned long mkdirOsError = _doserrno;

    std::string self = directory;
    AddTrailingBackslash(self);
    if (FilePath(self).EnterDirectory())
        return true;  // it was there already
    errno = mkdirErrno;
    _doserrno = mkdirOsError;
    if (!recursive)
        return false;

    const auto cut = directory.find_last_of('\\');
    if (cut == std::string::npos)
        return false;
    if (!FilePath(directory.substr(0, cut)).CreateDirectory(true))
        return false;
    return CreateDirectory(false);
}

void FilePath::CreateDirectoryOrThrow(bool recursive) const {
    if (CreateDirectory(recursive))
        return;
    if (errno == ENAMETOOLONG && _doserrno == ERROR_FILENAME_EXCED_RANGE)
        throw CFileException(CFileException::badPath, ERROR_FILENAME_EXCED_RANGE, path_);
    throw CFileException(CFileException::ErrnoToCause(errno), static_cast<long>(_doserrno), path_);
}

bool FilePath::Delete(bool force) const {
    if (Refuse(path_))
        return false;
    if (force) {
        // Only a file's read-only attribute is cleared: a directory of that
        // name is not deleted here and keeps its attributes.
        const DWORD attributes = ::GetFileAttributesA(path_.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
            !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
            // "Normal" must stand alone; 0 is not accepted everywhere.
            if (cleared == 0)
                cleared = FILE_ATTRIBUTE_NORMAL;
            ::SetFileAttributesA(path_.c_str(), cleared);
        }
    }
    return ::DeleteFileA(path_.c_str()) != FALSE;
}

bool FilePath::Rename(const FilePath& destination) const {
    if (Refuse(path_) || Refuse(destination.path_))
        return false;
    return ::MoveFileA(path_.c_str(), destination.path_.c_str()) != FALSE;
}

std::int64_t FilePath::ModificationTime() const {
    // Read from the directory entry rather than by opening the file: an
    // installed copy held open without sharing still has a time to compare.
    // The entry's time counts 100 ns steps from 1601 in 64 bits, so dates
    // after January 2038 keep their order instead of wrapping.
    if (Refuse(path_) || path_.find_first_of("*?") != std::string::npos)
        return 0;
    const FindHandle entry(path_.c_str());
    if (!entry.Found())
        return 0;
    const FILETIME& written = entry.Data().ftLastWriteTime;
    const std::int64_t ticks =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(written.dwHighDateTime) << 32) |
                                  written.dwLowDateTime);
    const std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
    return ticks / 10000000 - kSecondsFrom1601To1970;
}

bool FilePath::MakeUnique(bool mustNotExist, int attempts) {
    return MakeUniqueWith(*this, mustNotExist, attempts, ProcessUniqueNames(),
                          [](const FilePath& candidate) { return candidate.Exists(); });
}

bool FilePath::GetDiskFreeSpace(unsigned long& sectorsPerCluster, unsigned long& bytesPerSector,
                                unsigned long& freeClusters, unsigned long& totalClusters) const {
    sectorsPerCluster = bytesPerSector = freeClusters = totalClusters = 0;
    const std::string root = DriveRoot(*this);
    if (root.empty())
        return false;
    DWORD spc = 0, bps = 0, freeCount = 0, total = 0;
    if (!::GetDiskFreeSpaceA(root.c_str(), &spc, &bps, &freeCount, &total))
        return false;
    sectorsPerCluster = spc;
    bytesPerSector = bps;
    freeClusters = freeCount;
    totalClusters = total;
    return true;
}

unsigned long FilePath::FreeBytes() const {
    unsigned long spc, bps, freeClusters, total;
    if (!GetDiskFreeSpace(spc, bps, freeClusters, total))
        return 0;
    return SaturatedFreeBytes(freeClusters, spc, bps);
}

unsigned long FilePath::ClusterSize() const {
    unsigned long spc, bps, freeClusters, total;
    if (!GetDiskFreeSpace(spc, bps, freeClusters, total))
        return 0;
    return SaturatedClusterSize(spc, bps);
}

unsigned FilePath::DriveType() const {
    const std::string root = DriveRoot(*this);
    // Without a drive letter there is no root to ask about.
    if (root.empty())
        return kDriveNoRootDir;
    return ::GetDriveTypeA(root.c_str());
}
