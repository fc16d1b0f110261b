#include "profile/MemoryProfile.h"

#include "profile/ProfileFields.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && ProfileUpperCase(a) == ProfileUpperCase(b);
}

}  // namespace

MemoryProfile::Entries* MemoryProfile::FindSection(const std::string& section) {
    for (auto& s : content)
        if (SameName(s.first, section)) return &s.second;
    return nullptr;
}

void MemoryProfile::Add(const std::string& section, const std::string& key, const std::string& value) {
    Entries* entries = FindSection(section);
    if (entries == nullptr) {
        content.emplace_back(section, Entries());
        entries = &content.back().second;
    }
    entries->emplace_back(key, value);
}

void MemoryProfile::AddSection(const std::string& section) { content.emplace_back(section, Entries()); }

std::vector<std::string> MemoryProfile::Keys(const std::string& section) {
    std::vector<std::string> keys;
    if (const Entries* entries = FindSection(section))
        for (const auto& entry : *entries) keys.push_back(entry.first);
    return keys;
}

std::string MemoryProfile::Value(const std::string& section, const std::string& key) {
    if (const Entries* entries = FindSection(section))
        for (const auto& entry : *entries)
            if (SameName(entry.first, key)) return entry.second.substr(0, kMaxProfileValue);
    return std::string();
}

void MemoryProfile::Write(const std::string& section, const std::string& key, const std::string& value) {
    if (Entries* entries = FindSection(section)) {
        for (auto& entry : *entries) {
            if (SameName(entry.first, key)) {
                entry.second = value;
                return;
            }
        }
    }
    Add(section, key, value);
}

std::string MemoryProfile::ToText() const {
    std::string text;
    for (const auto& section : content) {
        text += "[" + section.first + "]\r\n";
        for (const auto& entry : section.second) text += entry.first + "=" + entry.second + "\r\n";
    }
    return text;
}
