// The cost of the install log's per-file lines alone: N keys "name=0|1|0"
// into one section of a log file in the Windows directory, as an install of
// N files writes them, through the writer the install log uses
// (DirectProfileFile) or, with "platform", through WritePrivateProfileStringA
// as the log did before.
//   log_writes N [LOGNAME] [PREFIX EXT] [direct|platform]
// The file (default BENCHLOG.log) is deleted before and after, so each run
// starts from nothing as a first install does. Key names follow the bench
// payloads' names (PREFIX%04d.EXT, default S%04d.DAT). Prints the time per
// write. Windows program; built by bench/install-bench.sh.

#define NOMINMAX
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "uninstall/DirectProfileFile.h"

int main(int argc, char** argv) {
    const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (n <= 0 || n > 1000000) {
        std::fprintf(stderr, "usage: log_writes N [LOGNAME] [PREFIX EXT]\n");
        return 2;
    }
    const std::string logName = argc > 2 ? argv[2] : "BENCHLOG.log";
    const std::string prefix = argc > 4 ? argv[3] : "S";
    const std::string extension = argc > 4 ? argv[4] : "DAT";
    const std::string writer = argc > 5 ? argv[5] : "direct";
    if (writer != "direct" && writer != "platform") {
        std::fprintf(stderr, "log_writes: the writer is direct or platform, not %s\n", writer.c_str());
        return 2;
    }
    char windows[MAX_PATH];
    const UINT len = GetWindowsDirectoryA(windows, sizeof windows);
    if (len == 0 || len >= sizeof windows) return 1;
    const std::string path = std::string(windows) + "\\" + logName;
    DeleteFileA(path.c_str());

    const DWORD start = GetTickCount();
    char key[64];
    if (writer == "platform") {
        for (long i = 0; i < n; ++i) {
            std::snprintf(key, sizeof key, "%s%04ld.%s", prefix.c_str(), i, extension.c_str());
            WritePrivateProfileStringA("Bench", key, "0|1|0", path.c_str());
        }
    } else {
        // Closed inside the timed part: handing the file back is part of the cost.
        DirectProfileFile file{FilePath(path)};
        for (long i = 0; i < n; ++i) {
            std::snprintf(key, sizeof key, "%s%04ld.%s", prefix.c_str(), i, extension.c_str());
            file.Write("Bench", key, "0|1|0");
        }
    }
    const DWORD ms = GetTickCount() - start;

    // Read one key back: a write that silently failed would make the figure meaningless.
    char value[32] = "";
    std::snprintf(key, sizeof key, "%s%04ld.%s", prefix.c_str(), n - 1, extension.c_str());
    GetPrivateProfileStringA("Bench", key, "", value, sizeof value, path.c_str());
    DeleteFileA(path.c_str());
    std::printf("log_writes: %s, %ld keys, %lu ms inside, %.3f ms per key, last key read back '%s'\n",
                writer.c_str(), n, static_cast<unsigned long>(ms), static_cast<double>(ms) / static_cast<double>(n),
                value);
    return std::string(value) == "0|1|0" ? 0 : 1;
}
