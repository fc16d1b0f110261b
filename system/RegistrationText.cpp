#include "system/RegistrationText.h"

namespace regtext {

std::vector<std::string> SplitExtensionList(const std::string& list) {
    std::vector<std::string> extensions;
    std::string piece;
    for (char c : list) {
        if (c == ',' || c == ' ' || c == '\t') {
            if (!piece.empty()) {
                extensions.push_back(piece);
            }
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty()) {
        extensions.push_back(piece);
    }
    return extensions;
}

std::string AppPathKey(const std::string& programFileName) {
    return std::string(kAppPathsKey) + programFileName;
}

std::string UninstallKey(const std::string& keyName) {
    return std::string(kUninstallKey) + "\\" + keyName;
}

std::string UninstallCommand(const std::string& mainInstallDir, const std::string& setupFileName) {
    std::string command = mainInstallDir;
    if (command.empty() || command.back() != '\\') {
        command += '\\';
    }
    return command + setupFileName + " /U";
}

}  // namespace regtext
