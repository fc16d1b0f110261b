#pragma once
// The install log over its real file, with the registry's shared counts and
// the system clock. The file is written by DirectProfileFile, a line per
// key, not rewritten whole for each. Windows only.

#include "support/FilePath.h"
#include "uninstall/DirectProfileFile.h"
#include "uninstall/InstallLog.h"

namespace install_log_detail {
// Holds the file so that it is built before the log that writes into it.
struct FileHolder {
    explicit FileHolder(const FilePath& path) : file(path) {}
    DirectProfileFile file;
};
}  // namespace install_log_detail

class InstallLogFile : private install_log_detail::FileHolder, public InstallLog {
public:
    // logPath: the log file, normally "TYViewer.log" in the Windows directory.
    explicit InstallLogFile(const FilePath& logPath);
};

// The local time of day and GetTickCount.
EventTime SystemEventTime();
// One more user of the shared file at path (HKLM ...\SharedDLLs).
void RaiseSharedDllCount(const std::string& path);
