#pragma once
// Splitting of profile values. A value is a list of fields separated by '|';
// field 0 is the text before the first separator, field n the text after the
// n-th one. There is no quoting, so a field never contains the separator.
// Portable: no <windows.h>.

#include <cstdint>
#include <string>
#include <string_view>

constexpr char kProfileFieldSeparator = '|';

// Reads a decimal number the way the C runtime's atol does: leading white
// space skipped, an optional sign, then digits up to the first non-digit; no
// digits gives 0. Overlong numbers wrap modulo 2^32 rather than overflow.
int32_t ParseProfileNumber(std::string_view text);

// The same number truncated to 16 bits two's complement (65535 reads as -1).
int16_t ParseProfileInt16(std::string_view text);

// Finds field `index` of `value`. Returns false when the value has fewer
// than `index` separators (the field is missing).
bool FindProfileField(std::string_view value, int index, std::string_view& field,
                      char separator = kProfileFieldSeparator);

// Each returns false when the field is missing. The text form then stores an
// empty text; the numeric forms leave `out` unchanged, so the caller's
// initial value is the default.
bool ExtractTextField(std::string_view value, int index, std::string& out,
                      char separator = kProfileFieldSeparator);
bool ExtractInt16Field(std::string_view value, int index, int16_t& out,
                       char separator = kProfileFieldSeparator);
bool ExtractInt32Field(std::string_view value, int index, int32_t& out,
                       char separator = kProfileFieldSeparator);
// A flag is a number; any non-zero value becomes 1.
bool ExtractFlagField(std::string_view value, int index, int& out,
                      char separator = kProfileFieldSeparator);

// Upper-cases the ASCII letters; other bytes (including the upper half of
// the ANSI code page) are kept, so the result does not depend on a locale.
std::string ProfileUpperCase(std::string_view text);
