#include "uninstall/DirectProfileFile.h"

#include <windows.h>

#include <algorithm>

#include "profile/PrivateProfile.h"
#include "profile/ProfileEntry.h"
#include "uninstall/ProfileText.h"

// The platform's profile functions keep files in memory. Windows 95 keeps
// the most recently used profile file and writes changes to it back later;
// WritePrivateProfileStringA(NULL, NULL, NULL, path) writes that copy out.
// Wine keeps several files and reads one again only when its last-write
// time differs from the time it read it at, and on many hosts file times
// move in steps of a few milliseconds. Hence:
// - the copy is flushed before the file is read (a change still held there
//   would otherwise land on top of the lines written here, later), after
//   every write through the platform, and when the file is handed back;
// - every direct write gives the file a last-write time later than any it
//   had, so that no kept copy can pass for the current text.
struct DirectProfileFile::Shared {
    std::string path;
    int users = 0;
    HANDLE handle = INVALID_HANDLE_VALUE;
    ProfileText text;
    bool loaded = false;
    DWORD size = 0;             // the file's size after our last write or load
    ULONGLONG lastTime = 0;     // the last-write time we last gave the file
    Shared* next = nullptr;     // the next open path
};

namespace {

DirectProfileFile::Shared* openFiles = nullptr;

void FlushPlatformCopy(const std::string& path) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str()); }

void CloseFile(DirectProfileFile::Shared& file) {
    if (file.handle != INVALID_HANDLE_VALUE) CloseHandle(file.handle);
    file.handle = INVALID_HANDLE_VALUE;
}

HANDLE OpenFile(const std::string& path, DWORD disposition) {
    // Readers through the platform open the file for reading and writing
    // with both kinds of sharing; they must still get in while it is open.
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadAll(HANDLE handle, std::string& bytes, DWORD& size) {
    size = GetFileSize(handle, nullptr);
    if (size == INVALID_FILE_SIZE) return false;
    bytes.assign(size, '\0');
    DWORD done = 0;
    while (done < size) {
        DWORD read = 0;
        if (!ReadFile(handle, &bytes[done], size - done, &read, nullptr) || read == 0) return false;
        done += read;
    }
    return true;
}

// Reads the file into the model. A missing file is an empty one; a file
// that cannot be opened for writing leaves every write to the platform.
void Load(DirectProfileFile::Shared& file) {
    CloseFile(file);
    FlushPlatformCopy(file.path);
    file.loaded = true;
    file.size = 0;
    file.handle = OpenFile(file.path, OPEN_EXISTING);
    if (file.handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        file.text.Load(missing ? std::string() : std::string(1, '\0'));
        return;
    }
    std::string bytes;
    if (!ReadAll(file.handle, bytes, file.size)) {
        CloseFile(file);
        bytes.assign(1, '\0');  // not plain
    }
    file.text.Load(std::move(bytes));
}

// Loads the file unless the model still holds what it holds.
void MakeCurrent(DirectProfileFile::Shared& file) {
    if (!file.loaded) {
        Load(file);
        return;
    }
    if (file.handle == INVALID_HANDLE_VALUE) return;
    if (GetFileSize(file.handle, nullptr) != file.size) Load(file);
}

void GiveNewWriteTime(DirectProfileFile::Shared& file) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULONGLONG time = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    time = std::max(time, file.lastTime + 1);
    file.lastTime = time;
    FILETIME written;
    written.dwLowDateTime = static_cast<DWORD>(time);
    written.dwHighDateTime = static_cast<DWORD>(time >> 32);
    SetFileTime(file.handle, nullptr, nullptr, &written);
}

bool WriteAt(HANDLE handle, DWORD offset, const std::string& bytes) {
    if (SetFilePointer(handle, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    DWORD done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

void WriteThroughPlatform(DirectProfileFile::Shared& file, const std::string& section, const std::string& key,
                          const std::string& value) {
    // The platform rewrites the file through a handle of its own that
    // shares nothing: ours must be closed first.
    CloseFile(file);
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.path.c_str());
    FlushPlatformCopy(file.path);
    file.loaded = false;
}

// The file the profile functions would use: a bare name is looked for in the
// Windows directory, not in the current one; no name at all is the program's
// default profile.
std::string PlatformPath(const FilePath& file) {
    std::string path = file.IsEmpty() ? DefaultProfileFileName() : file.GetPath();
    if (path.find_first_of("\\/:") != std::string::npos) return path;
    char windows[MAX_PATH] = "";
    const UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return path;
    std::string directory(windows, length);
    if (directory.back() != '\\') directory += '\\';
    return directory + path;
}

}  // namespace

DirectProfileFile::DirectProfileFile(const FilePath& file) : shared(nullptr) {
    const std::string path = PlatformPath(file);
    for (Shared* open = openFiles; open && !shared; open = open->next)
        if (lstrcmpiA(open->path.c_str(), path.c_str()) == 0) shared = open;
    if (!shared) {
        shared = new Shared;
        shared->path = path;
        shared->next = openFiles;
        openFiles = shared;
    }
    ++shared->users;
}

DirectProfileFile::~DirectProfileFile() {
    if (--shared->users > 0) return;
    CloseFile(*shared);
    if (shared->loaded) FlushPlatformCopy(shared->path);
    Shared** link = &openFiles;
    while (*link != shared) link = &(*link)->next;
    *link = shared->next;
    delete shared;
}

std::vector<std::string> DirectProfileFile::Keys(const std::string& section) {
    return PrivateProfile(FilePath(shared->path)).Keys(section);
}

std::string DirectProfileFile::Value(const std::string& section, const std::string& key) {
    return PrivateProfile(FilePath(shared->path)).Value(section, key);
}

void DirectProfileFile::Write(const std::string& section, const std::string& key, const std::string& value) {
    Shared& file = *shared;
    MakeCurrent(file);
    if (file.handle == INVALID_HANDLE_VALUE && file.text.IsPlain()) {
        // The first line of a new file. One that has appeared since the
        // load is somebody else's: read it first.
        file.handle = OpenFile(file.path, OPEN_ALWAYS);
        if (file.handle != INVALID_HANDLE_VALUE && GetLastError() == ERROR_ALREADY_EXISTS) Load(file);
    }
    ProfileTextEdit edit;
    const ProfileText::SetResult result =
        file.handle == INVALID_HANDLE_VALUE ? ProfileText::SetResult::kNotPlain
                                            : file.text.Set(section, key, value, edit);
    if (result == ProfileText::SetResult::kUnchanged) return;
    if (result == ProfileText::SetResult::kNotPlain) {
        WriteThroughPlatform(file, section, key, value);
        return;
    }
    // The new bytes first, the new end after them: a process stopped at any
    // other point leaves a whole profile; stopped between these two calls
    // it leaves old bytes after the new text.
    bool ok = WriteAt(file.handle, static_cast<DWORD>(edit.offset), edit.bytes);
    if (ok && edit.size < file.size) {
        ok = SetFilePointer(file.handle, static_cast<LONG>(edit.size), nullptr, FILE_BEGIN) !=
                 INVALID_SET_FILE_POINTER &&
             SetEndOfFile(file.handle);
    }
    if (ok) GiveNewWriteTime(file);
    file.size = static_cast<DWORD>(edit.size);
    // After a failed write the file holds something between the old text and
    // the new: the next call reads it again.
    if (!ok) file.loaded = false;
}
