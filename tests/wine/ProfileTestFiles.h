#pragma once
// A scratch directory for the profile tests' files, removed afterwards.

#include <windows.h>

#include <string>

class ProfileScratchDir {
public:
    ProfileScratchDir() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "tvs_profile_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    ~ProfileScratchDir() {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((dir + data.cFileName).c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(dir.c_str());
    }
    ProfileScratchDir(const ProfileScratchDir&) = delete;
    ProfileScratchDir& operator=(const ProfileScratchDir&) = delete;

    // Writes `text` as the whole file `name` and returns its full path.
    std::string Create(const std::string& name, const std::string& text) const {
        const std::string path = dir + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(file);
        }
        return path;
    }

    std::string Path(const std::string& name) const { return dir + name; }

private:
    std::string dir;
};
