#pragma once
// The install log: what an install did, in the profile format, so that the
// uninstall can load it with the profile loader and undo it. One line per
// handled file, in the section of the file's component; at the end of a
// completed install the "destinations", "groups" and "targets" sections;
// timestamped lines in "Events". Every write is one key, so the file is
// valid after each. The log is never emptied: keys written again replace
// their old values. Portable: the file and the shared counts come in
// through a sink and a callback (InstallLog_win.cpp binds the real ones).

#include <cstdint>
#include <functional>
#include <string>

#include "archive/InstallEntry.h"
#include "profile/ComponentMap.h"
#include "profile/DestinationMap.h"
#include "profile/ProfileSource.h"
#include "profile/TargetMap.h"

extern const char kEventsSection[];  // "Events"

// A file line's value: destination id, placed, replaced ("%d|%d|%d").
std::string FileLineValue(std::int16_t destination, int placed, int replaced);

// The local time of day and the system's millisecond counter of an event.
struct EventTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::uint32_t tickCount = 0;  // milliseconds since the system started
};

// An event's key: "%H:%M:%S", a colon, the counter modulo 1000 in 4 digits
// ("%s:%04ld"), e.g. "14:03:27:0457".
std::string EventKey(const EventTime& time);

class InstallLog : public InstallRecorder {
public:
    // Raises the shared-library count of one full path by one.
    using SharedCountRaiser = std::function<void(const std::string& path)>;
    using Clock = std::function<EventTime()>;

    // None of them is owned; sink (and written, when given) must outlive
    // the log. `written` reads the same file as `sink` writes: with it, an
    // event never takes the key of one already in the log.
    InstallLog(ProfileSink& sink, SharedCountRaiser raiseSharedCount, Clock clock,
               ProfileSource* written = nullptr);

    // The file's line, keyed by the file name of finalPath, in the
    // component's section; then, for the System directory (-3), one more
    // user of the file, whether it was placed or not.
    void LogFileLine(const std::string& componentKey, const std::string& finalPath, std::int16_t destination,
                     int placed, int replaced) override;
    // "destinations", then "groups", then "targets".
    void SaveProfileSections(const DestinationMap& destinations, const ComponentMap& components,
                             const TargetMap& targets);
    // Formats the text (cut at 511 characters) and writes it into "Events"
    // under the current time's key. Two events in the same millisecond (a
    // quiet run logs its reports one after the other) would share that key
    // and the second would replace the first: when the key is taken, the
    // counter part is moved on to the next free one.
    void LogEvent(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

private:
    ProfileSink& sink;
    SharedCountRaiser raiseSharedCount;
    Clock clock;
    ProfileSource* written;
};
