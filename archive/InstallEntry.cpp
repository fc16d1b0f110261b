#include "archive/InstallEntry.h"

#include <cctype>

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

namespace {

std::string Upper(const std::string& s) {
    std::string out = s;
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

bool IsDeviceName(const std::string& fileName) {
    // The system takes the part before the first dot, and ignores blanks
    // before it ("CON .TXT" is the console too).
    std::string base = Upper(fileName.substr(0, fileName.find('.')));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
    for (const char* name : kFixed)
        if (base == name)
            return true;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0))
        return base[3] >= '1' && base[3] <= '9';
    return false;
}

bool IsSafeMemberName(const std::string& name) {
    if (name.empty() || name.size() > 255)
        return false;
    if (name == "." || name == "..")
        return false;
    for (char ch : name) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20)
            return false;
        switch (c) {
        case '\\': case '/': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
            return false;
        default:
            break;
        }
    }
    // The system drops trailing dots and blanks, so "A.DLL." would name A.DLL
    // behind the checks' backs.
    if (name.back() == '.' || name.back() == ' ')
        return false;
    return !IsDeviceName(name);
}
