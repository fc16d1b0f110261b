#pragma once
// A small vsnprintf with C99 results: at most size - 1 characters and a
// terminating NUL are stored (nothing when size is 0), and the length the
// whole text would have is returned. Conversions: d i u o x X c s p % and
// f F e E g G (these last as fixed-point: the program formats no fractions,
// the text only must not be lost); flags - + space # 0, width and precision
// given or '*', and the length modifiers hh h l ll j z t L. Portable.
//
// Why it exists: the shipped Setup links it in place of the compiler
// runtime's own formatter, which carries a full floating-point converter
// the program never calls (see app/ShipFormat_win.cpp).

#include <cstdarg>
#include <cstddef>

int BoundedFormatV(char* buffer, std::size_t size, const char* format, std::va_list args);
