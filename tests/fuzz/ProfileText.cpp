#include "ProfileText.h"

namespace fuzz {

MemoryProfile ProfileFromText(const std::string& text) {
    MemoryProfile profile;
    std::string section;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (size_t nul = line.find('\0'); nul != std::string::npos) line.resize(nul);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            profile.AddSection(section);
        } else if (size_t eq = line.find('='); eq != std::string::npos && !section.empty()) {
            profile.Add(section, line.substr(0, eq), line.substr(eq + 1));
        }
        start = end + 1;
    }
    return profile;
}

}  // namespace fuzz
