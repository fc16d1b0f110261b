// The small formatter against the C library's vsnprintf: same text and same
// returned length for every conversion, flag, width, precision and length
// modifier it supports, and the same truncation at every buffer size.
#include "support/BoundedFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {

struct Result {
    int length;
    std::string text;
};

Result Ours(std::size_t size, const char* format, ...) {
    std::string buffer(size + 1, '\x7f');
    va_list args;
    va_start(args, format);
    const int n = BoundedFormatV(size ? &buffer[0] : nullptr, size, format, args);
    va_end(args);
    // Nothing is written past size bytes.
    EXPECT_EQ(buffer[size], '\x7f') << format;
    return {n, size ? std::string(buffer.c_str()) : std::string()};
}

Result Library(std::size_t size, const char* format, ...) {
    std::string buffer(size + 1, '\x7f');
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(size ? &buffer[0] : nullptr, size, format, args);
    va_end(args);
    return {n, size ? std::string(buffer.c_str()) : std::string()};
}

#define EXPECT_SAME(...)                                           \
    do {                                                           \
        const Result ours = Ours(256, __VA_ARGS__);                \
        const Result lib = Library(256, __VA_ARGS__);              \
        EXPECT_EQ(ours.text, lib.text) << #__VA_ARGS__;            \
        EXPECT_EQ(ours.length, lib.length) << #__VA_ARGS__;        \
    } while (0)

TEST(BoundedFormatTest, IntegersMatchTheLibrary) {
    EXPECT_SAME("%d|%d|%d", -3, 1, 0);
    EXPECT_SAME("%i %d %d", INT_MIN, INT_MAX, -1);
    EXPECT_SAME("%02d:%02d:%02d", 7, 45, 0);
    EXPECT_SAME("%s:%04ld", "14:03:27", 457L);
    EXPECT_SAME("%ld %lu %lld %llu", LONG_MIN, ULONG_MAX, LLONG_MIN, ULLONG_MAX);
    EXPECT_SAME("%hd %hu %hhd %hhu", 70000, 70000, 300, 300);
    EXPECT_SAME("%zu %jd", static_cast<std::size_t>(12345), static_cast<intmax_t>(-9));
    // size_t and ptrdiff_t are 32 bits wide in the 32-bit build, intmax_t 64
    // in both: each must take exactly its own argument, or the next is read
    // from the wrong place.
    EXPECT_SAME("%zu|%d|%zx|%d", SIZE_MAX, 7, static_cast<std::size_t>(0xabc), 8);
    EXPECT_SAME("%zd|%td|%d|%tu", static_cast<std::ptrdiff_t>(-5), PTRDIFF_MIN, 9, static_cast<std::size_t>(10));
    EXPECT_SAME("%jd|%d|%ju|%jx|%d", INTMAX_MIN, 11, UINTMAX_MAX, static_cast<uintmax_t>(0xfeed), 12);
    EXPECT_SAME("%u %o %x %X", 4000000000u, 8u, 0xbeefu, 0xbeefu);
    EXPECT_SAME("%#x %#X %#o %#o %#x", 255u, 255u, 8u, 0u, 0u);
    EXPECT_SAME("%.4x%.4x%.4x", 0x1u, 0xabcdu, 0x12345u);
    EXPECT_SAME("[%5d] [%-5d] [%05d] [%+d] [% d] [%+05d] [%-+6d]", 42, 42, -42, 42, 42, 42, -42);
    EXPECT_SAME("[%.3d] [%8.3d] [%08.3d] [%.0d] [%5.0d]", 7, -7, 7, 0, 0);
    EXPECT_SAME("[%*d] [%-*d] [%*d] [%.*d] [%.*d]", 6, 1, 6, 2, -6, 3, 4, 5, -1, 6);
}

TEST(BoundedFormatTest, TextAndCharactersMatchTheLibrary) {
    EXPECT_SAME("%s", "");
    EXPECT_SAME("[%s] [%10s] [%-10s] [%.2s] [%.255s]", "abc", "abc", "abc", "abc", "Disk full");
    EXPECT_SAME("[%.*s] [%*.*s]", 3, "abcdef", 8, 2, "abcdef");
    EXPECT_SAME("[%c] [%3c] [%-3c]", 'x', 'y', 'z');
    EXPECT_SAME("100%% done, %d%%", 5);
    EXPECT_SAME("%d.%d (%.255s)", 9, 13, "CXFileException");
    EXPECT_SAME("[ExecProgram(\"%s\",%d)]", "C:\\TYVIEWER\\tyviewer.exe", 1);
}

TEST(BoundedFormatTest, FixedPointMatchesTheLibrary) {
    EXPECT_SAME("%f %f %f", 0.0, 1.5, -2.25);
    EXPECT_SAME("%.2f %.0f %.1f %.3f", 3.14159, 2.5, 0.05, 1234.0005);
    EXPECT_SAME("[%8.2f] [%-8.2f] [%08.2f] [%+.1f] [%#.0f]", 3.14159, 3.14159, -3.14159, 2.0, 7.0);
    EXPECT_SAME("%.1f MB", 1457664 / 1048576.0);
    EXPECT_SAME("%.2f", 0.999);
}

TEST(BoundedFormatTest, TruncatesLikeTheLibraryAtEverySize) {
    const char* format = "%s:%04ld [%-6d] %x";
    for (std::size_t size = 0; size <= 24; ++size) {
        const Result ours = Ours(size, format, "14:03:27", 457L, -12, 0xabcu);
        const Result lib = Library(size, format, "14:03:27", 457L, -12, 0xabcu);
        EXPECT_EQ(ours.text, lib.text) << "size " << size;
        EXPECT_EQ(ours.length, lib.length) << "size " << size;
    }
}

TEST(BoundedFormatTest, UnknownDirectivesAreCopiedNotLost) {
    EXPECT_EQ(Ours(64, "a %q b %d", 5).text, "a %q b 5");
    EXPECT_EQ(Ours(64, "trailing %").text, "trailing %");
    EXPECT_EQ(Ours(64, "%s", static_cast<const char*>(nullptr)).text, "(null)");
}

}  // namespace
