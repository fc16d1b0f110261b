#include "uninstall/InstallLog.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#include "profile/ProfileSections.h"
#include "support/FilePath.h"

const char kEventsSection[] = "Events";

namespace {

constexpr std::int16_t kDestSystem = -3;
constexpr std::size_t kEventTextBuffer = 512;
constexpr int kEventCounterRange = 1000;  // the key keeps the counter modulo 1000

}  // namespace

std::string FileLineValue(std::int16_t destination, int placed, int replaced) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d|%d|%d", static_cast<int>(destination), placed, replaced);
    return buffer;
}

std::string EventKey(const EventTime& time) {
    char clockText[32];
    std::snprintf(clockText, sizeof clockText, "%02d:%02d:%02d", time.hour, time.minute, time.second);
    char key[48];
    std::snprintf(key, sizeof key, "%s:%04ld", clockText, static_cast<long>(time.tickCount % 1000));
    return key;
}

InstallLog::InstallLog(ProfileSink& sink, SharedCountRaiser raiseSharedCount, Clock clock, ProfileSource* written)
    : sink(sink), raiseSharedCount(std::move(raiseSharedCount)), clock(std::move(clock)), written(written) {}

void InstallLog::LogFileLine(const std::string& componentKey, const std::string& finalPath,
                             std::int16_t destination, int placed, int replaced) {
    sink.Write(componentKey, FilePath(finalPath).GetFileName(), FileLineValue(destination, placed, replaced));
    if (destination == kDestSystem && raiseSharedCount)
        raiseSharedCount(finalPath);
}

void InstallLog::SaveProfileSections(const DestinationMap& destinations, const ComponentMap& components,
                                     const TargetMap& targets) {
    ::SaveProfileSections(sink, destinations, components, targets);
}

void InstallLog::LogEvent(const char* format, ...) {
    char text[kEventTextBuffer];
    va_list args;
    va_start(args, format);
    // vsnprintf never writes past the buffer: a longer text is cut.
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    EventTime time = clock ? clock() : EventTime{};
    std::string key = EventKey(time);
    if (written) {
        // A logged event's text is never empty, so an empty value is a free key.
        for (int tries = 1; tries < kEventCounterRange && !written->Value(kEventsSection, key).empty(); ++tries) {
            time.tickCount = time.tickCount % kEventCounterRange + 1;
            key = EventKey(time);
        }
    }
    sink.Write(kEventsSection, key, text);
}
