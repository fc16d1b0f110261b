#pragma once
// Where the Windows tests find the build tree and the sources. CTest hands
// them over as Unix paths in TVS_BINARY_DIR and TVS_SOURCE_DIR; Wine maps the
// Unix root to drive Z:.

#include <cstdlib>
#include <string>

namespace testenv {

// The named variable as a Windows path; empty when it is not set.
inline std::string WindowsPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::string();
    std::string path = value;
    if (path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

inline std::string BinaryDir() { return WindowsPathFromEnv("TVS_BINARY_DIR"); }
inline std::string SourceDir() { return WindowsPathFromEnv("TVS_SOURCE_DIR"); }

// A file of the build tree, given with backslashes relative to it ("app\\SETUP.EXE").
inline std::string BuiltFile(const std::string& relative) { return BinaryDir() + "\\" + relative; }

}  // namespace testenv
