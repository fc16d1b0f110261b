#pragma once
// The text rules of the entry-setting line editor (IniLineEditor): what is a
// section header, how an entry line splits into key and value, and how names
// compare. Portable: no <windows.h>.

#include <string>

namespace initext {

// True when a and b are equal ignoring ASCII case, as profile names compare.
bool EqualsNoCase(const std::string& a, const std::string& b);

// A header is a line that, trimmed of white space at both ends, is not empty
// and begins with '['. Its name is the text between the first and the last
// character of the trimmed line ("[rename]" -> "rename"; "[x" -> "").
bool ParseSectionHeader(const std::string& line, std::string& name);

// Splits an entry line at its first '='. The key loses leading white space,
// the value trailing white space (the line end included). False when the
// line holds no '='.
bool SplitEntry(const std::string& line, std::string& key, std::string& value);

// "key=value\n", the line the editor writes for its entry.
std::string EntryLine(const std::string& key, const std::string& value);

// "[section]\n", the header the editor writes for a new section.
std::string HeaderLine(const std::string& section);

}  // namespace initext
