#pragma once
// Portable: no <windows.h>.

#include <string>
#include <utility>
#include <vector>

#include "profile/ProfileSource.h"

// A profile held in memory with the platform's matching rules: section and
// key names match without regard to case, only the first of two sections
// with the same name is read, the first of two keys that match answers, and
// values are cut to kMaxProfileValue characters.
class MemoryProfile : public ProfileSource, public ProfileSink {
public:
    using Entries = std::vector<std::pair<std::string, std::string>>;
    using Sections = std::vector<std::pair<std::string, Entries>>;

    // Appends a line to `section` without looking for an existing key (so a
    // test can build duplicates); the section is created at the end when missing.
    void Add(const std::string& section, const std::string& key, const std::string& value);
    // Appends an empty section, even when one of that name exists.
    void AddSection(const std::string& section);

    std::vector<std::string> Keys(const std::string& section) override;
    std::string Value(const std::string& section, const std::string& key) override;
    void Write(const std::string& section, const std::string& key, const std::string& value) override;

    // The file's text, "[section]" and "key=value" lines ended by CR LF.
    std::string ToText() const;
    const Sections& sections() const { return content; }

private:
    Entries* FindSection(const std::string& section);

    Sections content;
};
