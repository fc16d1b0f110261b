#include "system/ReplaceAtReboot.h"

#include <windows.h>

#include <utility>

#include "support/FilePath.h"
#include "system/IniLineEditor.h"

namespace {

bool SystemDelayedMove(const std::string& source, const std::string& destination) {
    // The destination is the file in use, so it exists at the next start:
    // without REPLACE_EXISTING the system would skip the move and leave the
    // old copy in place.
    return MoveFileExA(source.c_str(), destination.c_str(),
                       MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING) != FALSE;
}

DelayedMove& CurrentDelayedMove() {
    static DelayedMove move;
    return move;
}

// The 8.3 form of an existing path; the path itself when it has none.
std::string ShortForm(const std::string& path) {
    char buffer[MAX_PATH];
    DWORD n = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer) {
        return path;
    }
    return std::string(buffer, n);
}

}  // namespace

ScopedDelayedMoveOverride::ScopedDelayedMoveOverride(DelayedMove move)
    : previous(std::exchange(CurrentDelayedMove(), std::move(move))) {}

ScopedDelayedMoveOverride::~ScopedDelayedMoveOverride() {
    CurrentDelayedMove() = std::move(previous);
}

bool ReplaceAtReboot(const std::string& source, const std::string& destination) {
    const DelayedMove& move = CurrentDelayedMove();
    const bool scheduled = move ? move(source, destination) : SystemDelayedMove(source, destination);
    if (scheduled) {
        return true;
    }
    FilePath wininit(FilePathKind::kWindowsDirectory);
    if (wininit.IsEmpty()) {
        return false;
    }
    wininit.SetFileName("wininit.ini");
    IniEntryEditor editor(wininit);
    return editor.SetEntry("rename", ShortForm(destination), ShortForm(source));
}
