// The file work of the copy engine, on Win32.

#include "archive/InstallEntry.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "framework/Exception.h"

namespace {

constexpr std::int16_t kDestNone = -1;
constexpr std::int16_t kDestWindows = -2;
constexpr std::int16_t kDestSystem = -3;
constexpr std::int32_t kStoredMethod = 2;

bool IsDirectory(std::string path) {
    // Without a trailing backslash, which not every system accepts here;
    // a drive's root keeps it.
    if (path.size() > 3 && (path.back() == '\\' || path.back() == '/'))
        path.pop_back();
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CInstallEntry::CInstallEntry(CMultiFile& owner, std::string componentKey, InstallRecorder& recorder,
                             InstallSite& site, FileStatusPlatform* platform)
    : CMultiFileEntry(platform), owner(owner), componentKey(std::move(componentKey)), recorder(recorder),
      site(site) {}

CInstallEntry::~CInstallEntry() {
    if (tempPending)
        DiscardTemporary();
}

void CInstallEntry::PrepareSingleFile(const std::string& sourcePath, std::int16_t destination,
                                      std::uint32_t profileSize) {
    memberName = sourcePath;
    memberExtra.clear();
    header.SetDestination(destination);
    header.SetDecodedSize(profileSize);
    header.SetStoredSize(profileSize);
    header.SetChecksum(0);
    header.SetMethod(kStoredMethod);
    header.SetMethodParam(0);
    header.SetContinued(0);
    // Time, attributes and the real size come from the file on the media;
    // the stored size stays the profile's, and that many bytes are copied.
    FillFromFile();
}

std::string CInstallEntry::InstallName() const {
    // A single file's member name is the full source path; an archive
    // written by another tool may keep the member's directory in its name.
    // Either way only the file name is used: every file goes into its
    // destination's directory and nowhere else.
    return FileNameAsWritten(memberName);
}

void CInstallEntry::Install() {
    if (header.Destination() == kDestNone)
        return;
    placed = 0;
    replaced = 0;
    ResolvePaths();
    // From here until it is placed or handed to the restart, the temporary
    // file is ours to remove, whatever stops the install of this file.
    tempPending = true;
    try {
        owner.Extract(*this);
        PlaceFile();
    } catch (...) {
        DiscardTemporary();
        throw;
    }
    recorder.LogFileLine(componentKey, finalPath, header.Destination(), static_cast<int>(placed),
                         static_cast<int>(replaced));
    UpdateTarget();
}

void CInstallEntry::ResolvePaths() {
    const std::string name = InstallName();
    // What is left of the name could still reach outside the directory
    // ("..", a stream), into a device (AUX.DAT), or be changed by the system
    // (a trailing dot or blank): refuse it before anything is created.
    if (!IsPlainFileName(name))
        throw CFileException(CFileException::badPath, -1, memberName);

    FilePath dir(site.DestinationPath(header.Destination()));
    // A directory without a drive or a share (a profile's "path" field such
    // as "DATA") would be taken relative to whatever the current directory
    // happens to be: that is no place to install into.
    const std::string& text = dir.GetPath();
    const bool absolute = (text.size() >= 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/')) ||
                          text.compare(0, 2, "\\\\") == 0;
    if (!absolute)
        throw CFileException(CFileException::badPath, -1, memberName);
    // Members of one archive mostly share a directory. Making it again for
    // each would also make it the current directory each time, a handful of
    // server requests under Wine; while it is still there it is left alone.
    if (text != madeDirectory || !IsDirectory(text)) {
        madeDirectory.clear();
        dir.CreateDirectoryOrThrow(true);
        madeDirectory = text;
    }

    finalPath = dir;
    finalPath.SetFileName(name);
    if (finalPath.IsTooLong() || finalPath.GetFileName() != name)
        throw CFileException(CFileException::badPath, -1, finalPath.GetPath());

    tempPath = finalPath;
    // Decoding creates or truncates its output: a temporary name that already
    // exists would destroy that file, so running out of names is an error.
    // Each name is claimed by creating it exclusively rather than looked up
    // first: one file-system lookup instead of two, and no window between
    // the check and the create.
    const auto claimed = [](const FilePath& candidate) {
        HANDLE file = ::CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return true;
        }
        // Any other failure is left to the decoding's own create, which
        // reports it with its real cause.
        const DWORD error = ::GetLastError();
        return error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS;
    };
    if (!MakeUniqueWith(tempPath, true, kUniqueNameAttempts, ProcessUniqueNames(),
                        [&claimed](const FilePath& candidate) { return !claimed(candidate); }))
        throw CFileException(CFileException::directoryFull, -1, finalPath.GetPath());
    tempPending = true;
    SetOutputPath(tempPath);
}

bool CInstallEntry::FindExisting(FilePath& existing) {
    const std::int16_t destination = header.Destination();
    if (destination == kDestWindows || destination == kDestSystem) {
        // Shared files may have been put in either directory by other
        // installers; the Windows directory is searched first.
        const std::string name = finalPath.GetFileName();
        for (std::int16_t where : {kDestWindows, kDestSystem}) {
            FilePath candidate(site.DestinationPath(where));
            if (candidate.IsEmpty())
                continue;
            candidate.SetFileName(name);
            if (candidate.Exists()) {
                existing = candidate;
                return true;
            }
        }
        return false;
    }
    if (finalPath.Exists()) {
        existing = finalPath;
        return true;
    }
    return false;
}

bool CInstallEntry::PlaceWhereNothingIs() {
    // Outside the shared directories the only copy to compare with is the
    // one at the final path, and renaming onto it is the look-up: a rename
    // never replaces a file, so when it succeeds there was none and the new
    // file is in place. This spares a search for a name that is not there,
    // which under Wine reads the whole directory, once per file.
    const std::int16_t destination = header.Destination();
    if (destination == kDestWindows || destination == kDestSystem)
        return false;
    if (tempPath.Rename(finalPath)) {
        tempPending = false;
        placed = 1;
        return true;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
        ThrowPlaceFailure(error);
    return false;
}

bool CInstallEntry::IsNewerThan(const FilePath& existing) {
    return NewFileReplaces(ReadFileVersion(tempPath), ReadFileVersion(existing), tempPath.ModificationTime(),
                           existing.ModificationTime());
}

void CInstallEntry::PlaceFile() {
    if (PlaceWhereNothingIs())
        return;
    FilePath existing;
    bool place = false;
    if (!FindExisting(existing)) {
        place = true;
    } else if (IsNewerThan(existing)) {
        replaced = 1;
        if (existing.Delete(true)) {
            place = true;
        } else {
            // Typically the old copy is in use: the new one waits under its
            // temporary name until the next start moves it over.
            site.ScheduleReplacement(tempPath, existing);
            tempPending = false;
        }
    } else {
        tempPath.Delete(true);
        tempPending = false;
    }
    if (!place)
        return;
    // A shared file may have a copy in both the Windows and the System
    // directory. The Windows one was found first and judged; the one at the
    // final path would still make the rename fail. It is judged too.
    if (existing.GetPath() != finalPath.GetPath() && !existing.IsEmpty() && finalPath.Exists()) {
        if (!IsNewerThan(finalPath)) {
            // The copy in place is as new or newer: it stays.
            tempPath.Delete(true);
            tempPending = false;
            return;
        }
        if (!finalPath.Delete(true)) {
            site.ScheduleReplacement(tempPath, finalPath);
            tempPending = false;
            return;
        }
    }
    if (!tempPath.Rename(finalPath))
        ThrowPlaceFailure(::GetLastError());
    tempPending = false;
    placed = 1;
}

void CInstallEntry::ThrowPlaceFailure(unsigned long error) const {
    // Left unreported, the log would claim a file that is not there.
    const long code = static_cast<long>(error);
    throw CFileException(CFileException::OsErrorToCause(code), code, finalPath.GetPath());
}

void CInstallEntry::UpdateTarget() {
    site.SetInstalledPath(InstallName(), finalPath);
}

void CInstallEntry::DiscardTemporary() {
    // The output may still be open when decoding stopped half way.
    if (IsOpen())
        CGuardedFile::Abort();
    if (!tempPath.IsEmpty())
        tempPath.Delete(true);
    tempPending = false;
}

FileVersion CInstallEntry::ReadFileVersion(const std::string& path) {
    FileVersion version;
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return version;
    std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, buffer.data()))
        return version;
    void* block = nullptr;
    UINT length = 0;
    char root[] = "\\";
    // A resource without a readable fixed block carries no file version:
    // it is treated as having none, so times decide.
    if (!VerQueryValueA(buffer.data(), root, &block, &length) || block == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return version;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
    version.present = true;
    version.parts[0] = HIWORD(info->dwFileVersionMS);
    version.parts[1] = LOWORD(info->dwFileVersionMS);
    version.parts[2] = HIWORD(info->dwFileVersionLS);
    version.parts[3] = LOWORD(info->dwFileVersionLS);
    return version;
}
