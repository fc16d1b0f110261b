// Setup's snprintf. The compiler's C++ headers send every snprintf and
// vsnprintf of the program to the runtime's own C99 formatter, and that
// formatter brings a complete floating-point converter along: about 26 KB
// of the diskette for conversions the program never makes. Defining the
// entry point here keeps the runtime's copy out of the link; the results are
// the C library's for every conversion the program uses (support/
// BoundedFormat.h says which).

#include <cstdarg>
#include <cstddef>
#include <cstdio>

#include "support/BoundedFormat.h"

extern "C" int __cdecl __mingw_vsnprintf(char* buffer, std::size_t size, const char* format, va_list args) {
    return BoundedFormatV(buffer, size, format, args);
}
