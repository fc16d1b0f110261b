#pragma once
// Helpers shared by the system layer's Wine tests: running a Wine program
// and reading its output, scratch registry keys and files.

#include "TestEnvironment.h"
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace systest {

// Runs a command line, waits for it, and returns what it wrote to stdout.
// exitCode receives the process's exit code (or -1 when it did not start).
inline std::string RunAndCapture(const std::string& commandLine, DWORD* exitCode = nullptr) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (exitCode != nullptr) {
        *exitCode = static_cast<DWORD>(-1);
    }
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) {
        return {};
    }
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &si, &pi);
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            output.append(buffer, got);
        }
        WaitForSingleObject(pi.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        if (exitCode != nullptr) {
            *exitCode = code;
        }
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(readEnd);
    return output;
}

// Deletes a key with everything below it; a missing key is fine.
inline void DeleteTree(HKEY root, const std::string& subKey) {
    RegDeleteTreeA(root, subKey.c_str());
    RegDeleteKeyA(root, subKey.c_str());
}

inline bool KeyExists(HKEY root, const std::string& subKey) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

// Reads a value of any type straight from the API: false when missing.
inline bool ReadRaw(HKEY root, const std::string& subKey, const std::string& name, DWORD& type,
                    std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data.assign(size, '\0');
        status = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(&data[0]), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// A REG_SZ value as text (terminator dropped); "" and false when missing.
inline bool ReadString(HKEY root, const std::string& subKey, const std::string& name,
                       std::string& text) {
    DWORD type = 0;
    std::string data;
    if (!ReadRaw(root, subKey, name, type, data) || type != REG_SZ) {
        text.clear();
        return false;
    }
    text = data.c_str();
    return true;
}

inline std::string ReadFileText(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        std::size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            text.append(buffer, n);
        }
        std::fclose(f);
    }
    return text;
}

inline bool WriteFileText(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

inline bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh empty directory under the temporary directory, named for a test.
inline std::string ScratchDir(const std::string& name) {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "tvs-system-" + name;
    RunAndCapture("cmd.exe /c rmdir /s /q \"" + dir + "\"");
    CreateDirectoryA(dir.c_str(), nullptr);
    return dir + "\\";
}

// The build tree as a Windows path.
inline std::string BinaryDir() { return testenv::BinaryDir(); }

}  // namespace systest
