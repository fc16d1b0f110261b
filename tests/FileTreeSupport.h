#pragma once
// Looking at and clearing away directory trees that Windows tests made or
// that a run of the product left: listings that compare directly, and a
// removal that read-only files do not stop.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace filetree {

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file and directory below `root`, as paths relative to it, with
// their sizes (directories -1). Sorted, so two listings compare directly.
inline void ListTree(const std::string& root, const std::string& relative, std::map<std::string, long long>& out,
                     bool recursive) {
    WIN32_FIND_DATAA found;
    const std::string pattern = root + (relative.empty() ? "" : "\\" + relative) + "\\*";
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = relative.empty() ? name : relative + "\\" + name;
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        out[path] = directory ? -1 : static_cast<long long>(found.nFileSizeLow);
        if (directory && recursive) ListTree(root, path, out, true);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

inline std::map<std::string, long long> ListTree(const std::string& root, bool recursive = true) {
    std::map<std::string, long long> out;
    ListTree(root, "", out, recursive);
    return out;
}

// The files (not the directories) below `dir`, relative to it, sorted.
inline std::vector<std::string> FilesBelow(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& [path, size] : ListTree(dir))
        if (size >= 0) files.push_back(path);
    return files;
}

// What the files below `dir` take together.
inline std::uint64_t BytesBelow(const std::string& dir) {
    std::uint64_t used = 0;
    for (const auto& entry : ListTree(dir))
        if (entry.second > 0) used += static_cast<std::uint64_t>(entry.second);
    return used;
}

// Deletes `dir` with everything in it, read-only files included; what is
// missing is fine, and a plain file is simply deleted.
inline void RemoveTree(std::string dir) {
    while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
    const DWORD attributes = ::GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(dir.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace filetree
