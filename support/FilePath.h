#pragma once
// FilePath: one Windows path text (drive letters, backslashes) with the
// operations Setup needs to split it, rebuild it, and act on what it names.
//
// Splitting follows the C runtime's rules: the drive is a leading character
// and colon, the directory runs up to and including the last '\' or '/', the
// extension starts at the last '.' of the final component. Components are
// held in buffers of 3 characters (drive) and 256 (directory, name, extension
// with its dot), terminator included.
//
// Over-long paths (the system limit is 259 characters plus the terminator)
// are refused, never cut, because a cut path names a different file. Any text
// can be held and rebuilt, but no text longer than kMaxPathLength characters
// is handed to the system: the file-system operations fail instead
// (GetLastError() is then ERROR_FILENAME_EXCED_RANGE, CreateDirectoryOrThrow
// throws CFileException::badPath, MakeUnique returns false). A path whose
// directory, name or extension does not fit its split buffer cannot be split:
// the readers give empty components and the setters leave it unchanged.
//
// The portable half (splitting, rebuilding, string helpers, the unique-name
// sequence) lives in FilePath.cpp; the file-system half and the constructor
// from a special location in FilePath_win.cpp (Windows only).

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

// <windows.h> maps these names to their "A"/"W" forms. Keep the member names
// the same in every translation unit, whatever was included before.
#pragma push_macro("CreateDirectory")
#pragma push_macro("RemoveDirectory")
#pragma push_macro("GetDiskFreeSpace")
#pragma push_macro("GetFileTitle")
#undef CreateDirectory
#undef RemoveDirectory
#undef GetDiskFreeSpace
#undef GetFileTitle

// Longest path text handed to the system (MAX_PATH less the terminator).
constexpr std::size_t kMaxPathLength = 259;
// Split buffers, terminator included.
constexpr std::size_t kMaxDriveBuffer = 3;
constexpr std::size_t kMaxComponentBuffer = 256;

// GetDriveTypeA codes used by callers.
constexpr unsigned kDriveNoRootDir = 1;
constexpr unsigned kDriveRemovable = 2;

// Special locations for the FilePath constructor. Each gives a directory
// path ending in a backslash; any other value gives an empty path.
enum class FilePathKind : int {
    kCurrentDirectory = 0,
    kWindowsDirectory = 1,
    kSystemDirectory = 2,
    kModuleDirectory = 3,
    kTempDirectory = 4,
};

// The components of a split path.
struct FilePathParts {
    std::string drive;      // the drive letter without its colon ("C")
    std::string directory;  // as split, trailing separator kept ("\A\B\")
    std::string name;       // final component without extension ("file")
    std::string extension;  // without its leading dot ("txt")
};

// Splits `path` by the runtime's rules. Returns false, with every part
// empty, when a component does not fit its buffer.
bool SplitPath(const std::string& path, FilePathParts& parts);

// Rebuilds a path: drive and ':', directory and '\' unless it already ends in
// '\' or '/', name, then '.' (unless the extension begins with one) and the
// extension. Empty parts are left out. Never cuts.
std::string MakePath(const FilePathParts& parts);

// The runtime's unseeded pseudo-random generator (seed 1), so that every run
// tries the same sequence of unique names.
class UniqueNameSequence {
public:
    // Next value, 0..32767.
    int Rand();
    // Next name: five values as "%.4x%.4x%.4x%.4x%.4x", first 8 characters.
    std::string Next();

private:
    std::uint32_t seed_ = 1;
};

// The sequence that FilePath::MakeUnique draws from; one per process.
UniqueNameSequence& ProcessUniqueNames();

// Free space arithmetic in 32 bits. Saturates at 0xFFFFFFFF instead of
// wrapping, so a volume with more than 4 GB free never looks nearly full.
std::uint32_t SaturatedClusterSize(std::uint32_t sectorsPerCluster, std::uint32_t bytesPerSector);
std::uint32_t SaturatedFreeBytes(std::uint32_t freeClusters, std::uint32_t sectorsPerCluster,
                                 std::uint32_t bytesPerSector);

class FilePath {
public:
    FilePath() = default;
    FilePath(const std::string& path) : path_(path) {}  // NOLINT: paths are texts
    FilePath(const char* path) : path_(path ? path : "") {}  // NOLINT
    // A special location (Windows only); empty when the system query fails.
    explicit FilePath(FilePathKind kind);

    FilePath& operator=(const std::string& path) { path_ = path; return *this; }
    FilePath& operator=(const char* path) { path_ = path ? path : ""; return *this; }

    const std::string& GetPath() const { return path_; }
    operator const std::string&() const { return path_; }  // NOLINT
    const char* c_str() const { return path_.c_str(); }
    bool IsEmpty() const { return path_.empty(); }
    // True when the system would refuse the text (longer than kMaxPathLength).
    bool IsTooLong() const { return path_.size() > kMaxPathLength; }

    // Readers. Each gives an empty text for a path that cannot be split.
    void GetDrive(std::string& drive) const;          // "C"
    void GetDirectory(std::string& directory) const;  // "C:\A\B"; "C:\" in the root; "" without a drive
    void GetDirectoryPart(std::string& directory) const;  // "\A\B"; "\" in the root
    void GetFileName(std::string& fileName) const;    // "file.txt"
    void GetFileTitle(std::string& title) const;      // "file"
    std::string GetDrive() const { std::string s; GetDrive(s); return s; }
    std::string GetDirectory() const { std::string s; GetDirectory(s); return s; }
    std::string GetDirectoryPart() const { std::string s; GetDirectoryPart(s); return s; }
    std::string GetFileName() const { std::string s; GetFileName(s); return s; }
    std::string GetFileTitle() const { std::string s; GetFileTitle(s); return s; }

    // Setters: split, replace, rebuild. A path that cannot be split is left
    // unchanged. The result may be over-long (see the top of this file).
    void SetDrive(const std::string& drive);          // "D" or "D:"
    void SetDirectory(const std::string& directory);  // gets leading and trailing '\'; "" gives the root
    void SetFullDirectory(const std::string& directory);  // drive and directory; trailing '\' ensured
    void SetFileTitle(const std::string& title);      // keeps the extension
    void SetExtension(const std::string& extension);  // keeps the name
    void SetFileName(const std::string& fileName);    // name and extension; "" leaves the directory
    void AppendDirectory(const std::string& subdirectory);
    // Removes the last directory; `removed`, when given, receives its name.
    void RemoveLastDirectory(std::string* removed = nullptr);
    void ToRoot();
    void Empty() { path_.clear(); }

    // File-system operations (Windows only). Failures are reported by result.
    bool Exists() const;           // FindFirstFileA on the path
    bool DirectoryExists() const;  // "*.*" in the path's directory finds an entry
    bool EnterDirectory() const;   // current directory := GetDirectory; stays changed
    bool RemoveDirectory() const;  // removes GetDirectory
    // Creates the directory; with `recursive`, missing parents too. Succeeds
    // when it already exists (and then makes it the current directory).
    bool CreateDirectory(bool recursive) const;
    // As CreateDirectory; throws CFileException (cause from errno, osError
    // from the runtime's last system error) on failure.
    void CreateDirectoryOrThrow(bool recursive) const;
    bool Delete(bool force) const;  // force clears a read-only attribute first
    bool Rename(const FilePath& destination) const;  // MoveFileA: never overwrites
    std::int64_t ModificationTime() const;  // seconds since 1970; 0 when unreadable
    // Gives the path a name from the process's unique-name sequence, keeping
    // the extension. See MakeUniqueWith.
    bool MakeUnique(bool mustNotExist, int attempts);
    // GetDiskFreeSpaceA for the root of the path's drive; outputs are 0 on failure.
    bool GetDiskFreeSpace(unsigned long& sectorsPerCluster, unsigned long& bytesPerSector,
                          unsigned long& freeClusters, unsigned long& totalClusters) const;
    unsigned long FreeBytes() const;    // saturated at 0xFFFFFFFF; 0 when the query fails
    unsigned long ClusterSize() const;  // 0 when the query fails
    unsigned DriveType() const;         // GetDriveTypeA of the root; kDriveNoRootDir without a drive
    bool IsRemovable() const { return DriveType() == kDriveRemovable; }

    // The same members under the names that <windows.h> macros turn them into.
    bool CreateDirectoryA(bool recursive) const { return CreateDirectory(recursive); }
    bool RemoveDirectoryA() const { return RemoveDirectory(); }
    bool GetDiskFreeSpaceA(unsigned long& spc, unsigned long& bps, unsigned long& free,
                           unsigned long& total) const {
        return GetDiskFreeSpace(spc, bps, free, total);
    }
    void GetFileTitleA(std::string& title) const { GetFileTitle(title); }
    std::string GetFileTitleA() const { return GetFileTitle(); }

private:
    bool Split(FilePathParts& parts) const { return SplitPath(path_, parts); }

    std::string path_;
};

// The MakeUnique loop with its name source and existence test supplied, so
// that it can be exercised anywhere. Up to `attempts` times: take the next
// name as the file title; stop with true when `mustNotExist` is false or
// `exists` says the new path is free. After `attempts` taken names, false
// (the path keeps the last one). Zero attempts, a path that cannot be split
// or a result longer than kMaxPathLength: false.
bool MakeUniqueWith(FilePath& path, bool mustNotExist, int attempts, UniqueNameSequence& names,
                    const std::function<bool(const FilePath&)>& exists);

// True for the reserved device names (CON, PRN, AUX, NUL, CLOCK$, COM1..9,
// LPT1..9), in any case, with or without an extension: opening such a name
// in any directory reaches the device, not a file.
bool IsDeviceName(const std::string& fileName);

// True when `name` may be created as a file inside a given directory and
// nowhere else: not empty, at most 255 characters, no directory separators,
// no drive, not "." or "..", no wildcard or control characters, no trailing
// dot or blank, and not a device name.
bool IsPlainFileName(const std::string& name);

// The file-name part of a name as it is written: the text after a leading
// drive ("C:") and after the last '\' or '/', up to the first NUL. Nothing
// is cleaned up (a trailing dot or blank stays), so that IsPlainFileName
// judges the name the system would be handed. "fonts\m1.dat" -> "m1.dat",
// "..\x.txt" -> "x.txt", "sub\" -> "".
std::string FileNameAsWritten(const std::string& name);

// True when `folders` names folders below a given one and stays there:
// components separated by '\', each, with the trailing dots and blanks that
// the system drops taken off, a plain file name. So no empty component (no
// leading, doubled or final backslash), no "..", no drive and no device.
bool IsPlainFolderPath(const std::string& folders);

// String helpers on directory texts.
void AddTrailingBackslash(std::string& s);     // appends '\' unless present; "" -> "\"
void RemoveTrailingBackslash(std::string& s);  // removes a final '\' when longer than 1
void AddLeadingBackslash(std::string& s);      // prepends '\' unless present; "" -> "\"
void RemoveLeadingBackslash(std::string& s);   // removes a first '\' when longer than 1
void RemoveTrailingChar(std::string& s, char c);  // removes the last character when it is c
void RemoveLeadingChar(std::string& s, char c);   // removes the first character when it is c
void Truncate(std::string& s, std::size_t n);     // keeps the first n characters

#pragma pop_macro("GetFileTitle")
#pragma pop_macro("GetDiskFreeSpace")
#pragma pop_macro("RemoveDirectory")
#pragma pop_macro("CreateDirectory")
