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

std::string SiblingDisketteDirectory(const std::string& directory, int diskette) {
    const std::size_t n = directory.size();
    if (n <= 2 || diskette < 0 || diskette > 99) return {};
    const char tens = directory[n - 2];
    const char ones = directory[n - 1];
    if (tens < '0' || tens > '9' || ones < '0' || ones > '9') return {};
    if (tens == '0' && ones == '0') return {};
    std::string sibling = directory.substr(0, n - 2);
    sibling += static_cast<char>('0' + diskette / 10);
    sibling += static_cast<char>('0' + diskette % 10);
    return sibling;
}
