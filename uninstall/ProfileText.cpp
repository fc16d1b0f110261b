#include "uninstall/ProfileText.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The platform matches section and key names without regard to ASCII case.
bool SameNoCase(const char* a, std::size_t aLength, const char* b, std::size_t bLength) {
    if (aLength != bLength) return false;
    for (std::size_t i = 0; i < aLength; ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

std::uint32_t Hash(std::uint32_t section, const char* key, std::size_t length) {
    std::uint32_t hash = 2166136261u ^ section;
    for (std::size_t i = 0; i < length; ++i) hash = (hash ^ static_cast<unsigned char>(Lower(key[i]))) * 16777619u;
    return hash;
}

bool Printable(const char* s, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        if (s[i] < 0x20 || s[i] > 0x7e) return false;
    return true;
}

bool Contains(const char* s, std::size_t length, char c) {
    for (std::size_t i = 0; i < length; ++i)
        if (s[i] == c) return true;
    return false;
}

// The platform trims blanks around names and values when it loads a file
// and when it writes one: text with them would not stay as it is.
bool Trimmed(const char* s, std::size_t length) { return length == 0 || (s[0] != ' ' && s[length - 1] != ' '); }

bool PlainSectionName(const char* s, std::size_t length) {
    return length > 0 && Printable(s, length) && Trimmed(s, length) && !Contains(s, length, ']');
}

// '[' would start a section and ';' a comment when the file is read again.
bool PlainKeyName(const char* s, std::size_t length) {
    return length > 0 && Printable(s, length) && Trimmed(s, length) && s[0] != '[' && s[0] != ';' &&
           !Contains(s, length, '=');
}

bool PlainValue(const char* s, std::size_t length) { return Printable(s, length) && Trimmed(s, length); }

void AppendKeyLine(std::string& out, const std::string& key, const std::string& value) {
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
}

}  // namespace

bool ProfileText::Load(std::string bytes) {
    text = std::move(bytes);
    sections.clear();
    slots.assign(16, Slot{0, 0});
    keyCount = 0;
    plain = Parse();
    if (!plain) {
        sections.clear();
        slots.clear();
        keyCount = 0;
    }
    return plain;
}

bool ProfileText::Parse() {
    const char* data = text.data();
    const std::size_t size = text.size();
    std::size_t position = 0;
    while (position < size) {
        const std::size_t cr = text.find('\r', position);
        // Every line ends in CR LF, the last one included.
        if (cr == std::string::npos || cr + 1 >= size || data[cr + 1] != '\n') return false;
        const char* line = data + position;
        const std::size_t length = cr - position;
        if (length > 0 && line[0] == '[') {
            if (length < 3 || line[length - 1] != ']' || !PlainSectionName(line + 1, length - 2)) return false;
            // Only the first of two sections of one name would be read.
            if (FindSection(line + 1, length - 2) >= 0) return false;
            if (!sections.empty()) sections.back().end = static_cast<std::uint32_t>(position);
            sections.push_back(Section{static_cast<std::uint32_t>(position), static_cast<std::uint32_t>(length - 2),
                                       static_cast<std::uint32_t>(size)});
        } else {
            // Key lines before the first section belong to no section.
            if (sections.empty()) return false;
            std::size_t keyLength = 0;
            while (keyLength < length && line[keyLength] != '=') ++keyLength;
            if (keyLength == length) return false;
            if (!PlainKeyName(line, keyLength) || !PlainValue(line + keyLength + 1, length - keyLength - 1))
                return false;
            const std::uint32_t section = static_cast<std::uint32_t>(sections.size() - 1);
            // A second key of one name is never read.
            if (slots[FindSlot(section, line, keyLength)].lineOffset != 0) return false;
            AddKey(section, static_cast<std::uint32_t>(position), keyLength);
        }
        position = cr + 2;
    }
    return true;
}

int ProfileText::FindSection(const char* name, std::size_t length) const {
    for (std::size_t i = 0; i < sections.size(); ++i)
        if (SameNoCase(text.data() + sections[i].headerOffset + 1, sections[i].nameLength, name, length))
            return static_cast<int>(i);
    return -1;
}

std::size_t ProfileText::FindSlot(std::uint32_t section, const char* key, std::size_t length) const {
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = Hash(section, key, length) & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots[i];
        if (slot.lineOffset == 0) return i;
        if (slot.section != section) continue;
        const std::size_t offset = slot.lineOffset - 1;
        if (SameNoCase(text.data() + offset, text.find('=', offset) - offset, key, length)) return i;
    }
}

void ProfileText::AddKey(std::uint32_t section, std::uint32_t lineOffset, std::size_t keyLength) {
    if ((keyCount + 1) * 2 > slots.size()) {
        std::vector<Slot> old;
        old.swap(slots);
        slots.assign(old.size() < 16 ? 16 : old.size() * 2, Slot{0, 0});
        for (const Slot& slot : old) {
            if (slot.lineOffset == 0) continue;
            const std::size_t offset = slot.lineOffset - 1;
            slots[FindSlot(slot.section, text.data() + offset, text.find('=', offset) - offset)] = slot;
        }
    }
    slots[FindSlot(section, text.data() + lineOffset, keyLength)] = Slot{lineOffset + 1, section};
    ++keyCount;
}

void ProfileText::Shift(std::size_t from, std::ptrdiff_t delta) {
    for (Section& section : sections) {
        if (section.headerOffset >= from) section.headerOffset = static_cast<std::uint32_t>(section.headerOffset + delta);
        if (section.end >= from) section.end = static_cast<std::uint32_t>(section.end + delta);
    }
    // At the end of the file only the last section's end moves: a line
    // appended there costs the same however long the file is.
    if (from + delta >= text.size()) return;
    for (Slot& slot : slots)
        if (slot.lineOffset != 0 && slot.lineOffset - 1 >= from)
            slot.lineOffset = static_cast<std::uint32_t>(slot.lineOffset + delta);
}

ProfileText::SetResult ProfileText::Set(const std::string& section, const std::string& key, const std::string& value,
                                        ProfileTextEdit& edit) {
    if (!plain || !PlainSectionName(section.data(), section.size()) || !PlainKeyName(key.data(), key.size()) ||
        !PlainValue(value.data(), value.size()))
        return SetResult::kNotPlain;
    const int found = FindSection(section.data(), section.size());
    if (found < 0) {
        // A new section goes at the end of the file.
        edit.offset = text.size();
        edit.bytes.assign(1, '[');
        edit.bytes += section;
        edit.bytes += "]\r\n";
        AppendKeyLine(edit.bytes, key, value);
        text += edit.bytes;
        edit.size = text.size();
        sections.push_back(Section{static_cast<std::uint32_t>(edit.offset), static_cast<std::uint32_t>(section.size()),
                                   static_cast<std::uint32_t>(text.size())});
        AddKey(static_cast<std::uint32_t>(sections.size() - 1),
               static_cast<std::uint32_t>(edit.offset + section.size() + 4), key.size());
        return SetResult::kEdited;
    }
    const std::uint32_t s = static_cast<std::uint32_t>(found);
    const Slot slot = slots[FindSlot(s, key.data(), key.size())];
    if (slot.lineOffset == 0) {
        // A new key goes after the section's last line.
        std::string line;
        AppendKeyLine(line, key, value);
        const std::size_t at = sections[s].end;
        text.insert(at, line);
        Shift(at, static_cast<std::ptrdiff_t>(line.size()));
        AddKey(s, static_cast<std::uint32_t>(at), key.size());
        edit.offset = at;
        edit.bytes.assign(text, at, std::string::npos);
        edit.size = text.size();
        return SetResult::kEdited;
    }
    const std::size_t valueOffset = slot.lineOffset - 1 + key.size() + 1;
    const std::size_t valueEnd = text.find('\r', valueOffset);
    const std::size_t oldLength = valueEnd - valueOffset;
    // The platform leaves the file alone when the value is the same.
    if (text.compare(valueOffset, oldLength, value) == 0) return SetResult::kUnchanged;
    text.replace(valueOffset, oldLength, value);
    edit.offset = valueOffset;
    if (value.size() == oldLength) {
        edit.bytes = value;
    } else {
        Shift(valueEnd + 2, static_cast<std::ptrdiff_t>(value.size()) - static_cast<std::ptrdiff_t>(oldLength));
        edit.bytes.assign(text, valueOffset, std::string::npos);
    }
    edit.size = text.size();
    return SetResult::kEdited;
}
