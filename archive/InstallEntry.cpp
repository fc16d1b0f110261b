#include "archive/InstallEntry.h"

FileVersion MakeFileVersion(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint16_t d) {
    FileVersion v;
    v.present = true;
    v.parts[0] = a;
    v.parts[1] = b;
    v.parts[2] = c;
    v.parts[3] = d;
    return v;
}

bool NewFileReplaces(const FileVersion& newVersion, const FileVersion& oldVersion, std::int64_t newTime,
                     std::int64_t oldTime) {
    if (oldVersion.present && !newVersion.present)
        return false;
    if (newVersion.present && !oldVersion.present)
        return true;
    if (newVersion.present) {
        for (int i = 0; i < 4; ++i) {
            if (newVersion.parts[i] != oldVersion.parts[i])
                return newVersion.parts[i] > oldVersion.parts[i];
        }
        return false;
    }
    return newTime > oldTime;
}
