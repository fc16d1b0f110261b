#pragma once
// Replacement of an in-use file at the next system start. Windows only.

#include <functional>
#include <string>

// Schedules `source` to be moved over `destination` at the next start: the
// system's delayed move (Windows NT), or, where that fails (Windows 95), a
// "destination=source" line in the section "rename" of wininit.ini in the
// Windows directory, both paths in their short form when they have one
// (wininit.ini is processed before long names are available). True when
// one of the two took the schedule.
bool ReplaceAtReboot(const std::string& source, const std::string& destination);

// The delayed move ReplaceAtReboot tries first: (source, destination) ->
// success. Production uses MoveFileExA with MOVEFILE_DELAY_UNTIL_REBOOT and
// MOVEFILE_REPLACE_EXISTING.
using DelayedMove = std::function<bool(const std::string& source, const std::string& destination)>;

// For tests: while alive, ReplaceAtReboot uses `move` in place of the
// system's delayed move. Under Wine the system call succeeds even in
// Windows 95 mode, so this is how the wininit.ini path is reached.
class ScopedDelayedMoveOverride {
public:
    explicit ScopedDelayedMoveOverride(DelayedMove move);
    ~ScopedDelayedMoveOverride();
    ScopedDelayedMoveOverride(const ScopedDelayedMoveOverride&) = delete;
    ScopedDelayedMoveOverride& operator=(const ScopedDelayedMoveOverride&) = delete;

private:
    DelayedMove previous;
};
