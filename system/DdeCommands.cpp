#include "system/DdeCommands.h"

#include <cstdarg>
#include <cstdio>

namespace ddecmd {

std::optional<std::string> Format(const char* format, ...) {
    char buffer[kCommandBufferSize];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    // vsnprintf reports the length it would have needed; anything that did
    // not fit whole is refused rather than sent cut.
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof buffer) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(written));
}

std::optional<std::string> CreateGroup(const std::string& group) {
    return Format("[CreateGroup (\"%s\")]", group.c_str());
}

std::optional<std::string> ReplaceItem(const std::string& item) {
    return Format("[ReplaceItem (%s)]", item.c_str());
}

std::optional<std::string> DeleteItem(const std::string& item) {
    return Format("[DeleteItem (%s)]", item.c_str());
}

std::optional<std::string> DeleteGroup(const std::string& group) {
    return Format("[DeleteGroup(\"%s\")]", group.c_str());
}

std::string CommandLine(const std::string& programPath, const std::optional<std::string>& arguments) {
    std::string line;
    if (programPath.find_first_of(" \t") != std::string::npos) {
        line = "\"" + programPath + "\"";
    } else {
        line = programPath;
    }
    if (arguments) {
        line += ' ';
        line += *arguments;
    }
    return line;
}

ItemPlacement PlacementFor(int showCommand, int /*secondShowValue*/) {
    return ItemPlacement{-1, -1, showCommand == kShowMinimized ? 1 : 0};
}

std::optional<std::string> AddItem(const std::string& programPath,
                                   const std::optional<std::string>& arguments,
                                   const std::string& itemName, const std::string& iconFile,
                                   int iconIndex, int showCommand, int secondShowValue) {
    const std::string commandLine = CommandLine(programPath, arguments);
    const std::string icon = iconFile.empty() ? CommandLine(programPath, std::nullopt) : iconFile;
    const ItemPlacement placement = PlacementFor(showCommand, secondShowValue);
    return Format("[AddItem (%s,\"%s\",%s,%d,%d,%d,%s,%s,%d)]", commandLine.c_str(),
                  itemName.c_str(), icon.c_str(), iconIndex, placement.x, placement.y, "", "",
                  placement.minimize);
}

std::vector<std::string> SplitGroupList(const std::string& reply) {
    std::vector<std::string> names;
    std::string piece;
    for (char c : reply) {
        if (c == '\r' || c == '\n') {
            if (!piece.empty()) {
                names.push_back(piece);
            }
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) {
        names.push_back(piece);
    }
    return names;
}

}  // namespace ddecmd
