#include "app/StartupText.h"

#include "support/FilePath.h"

std::string ProfilePathFor(const std::string& modulePath) {
    FilePath path(modulePath);
    path.SetExtension("ini");
    return path.GetPath();
}

std::string SourceDirFor(const std::string& modulePath) {
    FilePath path(modulePath);
    path.SetFileName("");
    return path.GetPath();
}

std::string StatusReportName(const std::string& mainProgramName) {
    return FilePath(mainProgramName).GetFileTitle();
}

std::string CleanupCommandLine(const std::string& systemDirectory, const std::string& shortProfilePath) {
    std::string command = systemDirectory;
    AddTrailingBackslash(command);
    return command + "_qzdinst.exe /U /PP:" + shortProfilePath;
}
