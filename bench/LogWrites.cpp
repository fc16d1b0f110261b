// The cost of the install log's per-file lines alone: N calls of
// WritePrivateProfileStringA, each one key "name=0|1|0" into one section of
// a log file in the Windows directory, as an install of N files makes them.
//   log_writes N [LOGNAME] [PREFIX EXT]
// The file (default BENCHLOG.log) is deleted before and after, so each run
// starts from nothing as a first install does. Key names follow the bench
// payloads' names (PREFIX%04d.EXT, default S%04d.DAT). Prints the time per
// write. Windows program; built by bench/install-bench.sh.

#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (n <= 0 || n > 1000000) {
        std::fprintf(stderr, "usage: log_writes N [LOGNAME] [PREFIX EXT]\n");
        return 2;
    }
    const std::string logName = argc > 2 ? argv[2] : "BENCHLOG.log";
    const std::string prefix = argc > 4 ? argv[3] : "S";
    const std::string extension = argc > 4 ? argv[4] : "DAT";
    char windows[MAX_PATH];
    const UINT len = GetWindowsDirectoryA(windows, sizeof windows);
    if (len == 0 || len >= sizeof windows) return 1;
    const std::string path = std::string(windows) + "\\" + logName;
    DeleteFileA(path.c_str());

    const DWORD start = GetTickCount();
    char key[64];
    for (long i = 0; i < n; ++i) {
        std::snprintf(key, sizeof key, "%s%04ld.%s", prefix.c_str(), i, extension.c_str());
        WritePrivateProfileStringA("Bench", key, "0|1|0", path.c_str());
    }
    const DWORD ms = GetTickCount() - start;

    // Read one key back: a write that silently failed would make the figure meaningless.
    char value[32] = "";
    std::snprintf(key, sizeof key, "%s%04ld.%s", prefix.c_str(), n - 1, extension.c_str());
    GetPrivateProfileStringA("Bench", key, "", value, sizeof value, path.c_str());
    DeleteFileA(path.c_str());
    std::printf("log_writes: %ld keys, %lu ms inside, %.3f ms per key, last key read back '%s'\n", n,
                static_cast<unsigned long>(ms), static_cast<double>(ms) / static_cast<double>(n), value);
    return std::string(value) == "0|1|0" ? 0 : 1;
}
