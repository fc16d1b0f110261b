#include "uninstall/InstallLogFile.h"

#include <windows.h>

#include "system/SharedDllCount.h"

EventTime SystemEventTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    EventTime time;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    time.tickCount = GetTickCount();
    return time;
}

void RaiseSharedDllCount(const std::string& path) {
    // The count goes back to the registry when it is destroyed.
    SharedDllCount count(path);
    count.Increment();
}

InstallLogFile::InstallLogFile(const FilePath& logPath)
    : install_log_detail::FileHolder(logPath), InstallLog(file, RaiseSharedDllCount, SystemEventTime, &file) {}
