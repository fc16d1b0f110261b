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

namespace {

// Names and paths come from the profile, the user and, on removal, the
// install log. A bracket in one would end its command and start another
// ("x)][DeleteGroup(\"Main\")][DeleteItem (y" deletes somebody else's
// group), and a double quote would end a quoted one early. Such a text is
// refused, so the command is not sent at all.
bool FitsInCommand(const std::string& text, bool quoted) {
    return text.find_first_of(quoted ? "[]\"" : "[]") == std::string::npos;
}

}  // namespace

std::optional<std::string> CreateGroup(const std::string& group) {
    if (!FitsInCommand(group, true)) return std::nullopt;
    return Format("[CreateGroup (\"%s\")]", group.c_str());
}

std::optional<std::string> ReplaceItem(const std::string& item) {
    if (!FitsInCommand(item, false)) return std::nullopt;
    return Format("[ReplaceItem (%s)]", item.c_str());
}

std::optional<std::string> DeleteItem(const std::string& item) {
    if (!FitsInCommand(item, false)) return std::nullopt;
    return Format("[DeleteItem (%s)]", item.c_str());
}

std::optional<std::string> DeleteGroup(const std::string& group) {
    if (!FitsInCommand(group, true)) return std::nullopt;
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
    // The command line may hold quotes of its own around a path with blanks.
    if (!FitsInCommand(commandLine, false) || !FitsInCommand(itemName, true) || !FitsInCommand(icon, false)) {
        return std::nullopt;
    }
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
