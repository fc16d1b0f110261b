#include "system/IniEntryText.h"

#include <cctype>

namespace initext {
namespace {

bool IsSpace(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string TrimLeft(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) {
        ++i;
    }
    return s.substr(i);
}

std::string TrimRight(const std::string& s) {
    std::size_t n = s.size();
    while (n > 0 && IsSpace(s[n - 1])) {
        --n;
    }
    return s.substr(0, n);
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool ParseSectionHeader(const std::string& line, std::string& name) {
    const std::string trimmed = TrimRight(TrimLeft(line));
    if (trimmed.empty() || trimmed[0] != '[') {
        return false;
    }
    name = trimmed.size() >= 2 ? trimmed.substr(1, trimmed.size() - 2) : std::string();
    return true;
}

bool SplitEntry(const std::string& line, std::string& key, std::string& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
        return false;
    }
    key = TrimLeft(line.substr(0, eq));
    value = TrimRight(line.substr(eq + 1));
    return true;
}

std::string EntryLine(const std::string& key, const std::string& value) {
    return key + "=" + value + "\n";
}

std::string HeaderLine(const std::string& section) {
    return "[" + section + "]\n";
}

}  // namespace initext
