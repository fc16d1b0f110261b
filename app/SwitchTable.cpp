#include "app/SwitchTable.h"

#include <cstdio>

#include "support/FilePath.h"

namespace {
constexpr char kSwitchChar = '/';
}  // namespace

SwitchTable ParseSwitches(const std::string& arguments) {
    SwitchTable table;
    int plainWords = 0;
    std::size_t pos = 0;
    while (pos < arguments.size()) {
        // Only the space separates words; runs of spaces give no empty words.
        if (arguments[pos] == ' ') {
            ++pos;
            continue;
        }
        std::size_t end = arguments.find(' ', pos);
        if (end == std::string::npos) end = arguments.size();
        const std::string word = arguments.substr(pos, end - pos);
        pos = end;

        if (word[0] != kSwitchChar) {
            char key[16];
            std::snprintf(key, sizeof key, "#%d", plainWords++);
            table[key] = word;
            continue;
        }
        if (word.size() == 1) continue;  // a lone slash
        const std::size_t colon = word.find(':', 1);
        if (colon != std::string::npos)
            table[word.substr(1, colon - 1)] = word.substr(colon + 1);
        else
            table[word.substr(1, 1)] = word.substr(2);
    }
    return table;
}

SwitchSettings ReadSwitchSettings(const SwitchTable& table) {
    SwitchSettings settings;
    const auto directory = table.find("D");
    // An empty directory would turn the profile path into a drive-relative
    // name that points nowhere useful; the switch is then ignored.
    if (directory != table.end() && !directory->second.empty()) {
        settings.hasDirectory = true;
        settings.directory = directory->second;
    }
    settings.uninstallMode = table.count("U") != 0;
    settings.quietMode = table.count("Q") != 0;
    settings.batchMode = table.count("B") != 0 || settings.quietMode;
    settings.ignoreConditions = table.count("I") != 0;
    return settings;
}

void ApplyDirectorySwitch(FilePath& path, const std::string& directory) {
    if (directory.empty()) return;
    FilePathParts parts;
    if (!SplitPath(path.GetPath(), parts)) return;
    // A drive letter or a network name in the value replaces the drive.
    const bool namesDrive = directory.size() >= 2 && (directory[1] == ':' || directory.compare(0, 2, "\\\\") == 0);
    if (namesDrive) parts.drive.clear();
    parts.directory = directory;
    path = MakePath(parts);
}
