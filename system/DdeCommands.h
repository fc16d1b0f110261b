#pragma once
// Program Manager command strings, built exactly as they go over DDE.
// Portable: no <windows.h>.
//
// Every command is bounded by the 512-byte execute buffer (511 characters
// plus the terminating zero). A command that would not fit is refused: the
// builders return an empty optional and nothing is cut or overflowed. So is
// a command whose texts hold a bracket, which would start another command,
// or a double quote inside a quoted text.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ddecmd {

// Size of the buffer a command is formatted into, terminator included.
constexpr std::size_t kCommandBufferSize = 512;

// Window show codes the callers pass for an item.
constexpr int kShowNormal = 5;
constexpr int kShowMinimized = 2;

// printf-style formatting into the bounded buffer; empty when the result
// would need more than kCommandBufferSize - 1 characters.
std::optional<std::string> Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::optional<std::string> CreateGroup(const std::string& group);   // [CreateGroup ("g")]
std::optional<std::string> ReplaceItem(const std::string& item);    // [ReplaceItem (i)]
std::optional<std::string> DeleteItem(const std::string& item);     // [DeleteItem (i)]
std::optional<std::string> DeleteGroup(const std::string& group);   // [DeleteGroup("g")]

// The item's command line: the program path, quoted when it holds a blank
// or a tab, then a blank and the arguments when arguments are given (an
// empty argument text still adds the blank).
std::string CommandLine(const std::string& programPath, const std::optional<std::string>& arguments);

// Where the show state goes in an AddItem command. Program Manager places
// an icon itself when both positions are -1, and its minimise flag makes the
// started program open minimised; so the positions are always -1 and the
// show command alone decides the flag (1 for minimised, 0 otherwise). The
// second show value has no field of its own in the command and is unused.
struct ItemPlacement {
    int x;
    int y;
    int minimize;
};
ItemPlacement PlacementFor(int showCommand, int secondShowValue);

// [AddItem (cmd,"name",icon,index,x,y,,,min)]. An empty icon file names the
// program itself: its path, quoted like the command line but without the
// arguments, which Program Manager would take as part of the icon's name.
std::optional<std::string> AddItem(const std::string& programPath,
                                   const std::optional<std::string>& arguments,
                                   const std::string& itemName, const std::string& iconFile,
                                   int iconIndex, int showCommand, int secondShowValue);

// The group names of a "Progman" request reply: split at CR and LF, empty
// pieces skipped, in the order given.
std::vector<std::string> SplitGroupList(const std::string& reply);

}  // namespace ddecmd
