#include "profile/ProfileFields.h"

#include <gtest/gtest.h>

namespace {

struct NumberCase {
    const char* text;
    int32_t int32;
    int16_t int16;
};

TEST(ProfileFields, NumbersReadLikeTheRuntime) {
    const NumberCase cases[] = {
        {"0", 0, 0},
        {"42", 42, 42},
        {"  \t17", 17, 17},
        {"+5", 5, 5},
        {"-3", -3, -3},
        {"65533", 65533, -3},
        {"65535", 65535, -1},
        {"32768", 32768, -32768},
        {"-32769", -32769, 32767},
        {"12abc", 12, 12},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"+-4", 0, 0},
        {" - 4", 0, 0},
        {"2147483647", 2147483647, -1},
        {"-2147483648", INT32_MIN, 0},
        // Beyond 32 bits the value wraps instead of being undefined.
        {"4294967296", 0, 0},
        {"4294967297", 1, 1},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseProfileNumber(c.text), c.int32);
        EXPECT_EQ(ParseProfileInt16(c.text), c.int16);
    }
}

TEST(ProfileFields, VeryLongNumbersWrapLike32BitArithmetic) {
    const std::string digits(300, '9');
    uint32_t n = 0;
    for (char d : digits) n = n * 10u + static_cast<uint32_t>(d - '0');
    EXPECT_EQ(ParseProfileNumber(digits), static_cast<int32_t>(n));
    EXPECT_EQ(ParseProfileInt16(digits), static_cast<int16_t>(n & 0xFFFFu));
}

struct FieldCase {
    const char* value;
    int index;
    bool present;
    const char* text;
};

TEST(ProfileFields, TextFieldsAreSplitAtBars) {
    const FieldCase cases[] = {
        {"a|b|c", 0, true, "a"},
        {"a|b|c", 1, true, "b"},
        {"a|b|c", 2, true, "c"},
        {"a|b|c", 3, false, ""},
        {"a||c", 1, true, ""},
        {"|", 0, true, ""},
        {"|", 1, true, ""},
        {"|", 2, false, ""},
        {"", 0, true, ""},
        {"", 1, false, ""},
        {"no bars", 0, true, "no bars"},
        {" spaced | kept ", 1, true, " kept "},
        {"a|b", -1, false, ""},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " #" + std::to_string(c.index));
        std::string out = "stale";
        EXPECT_EQ(ExtractTextField(c.value, c.index, out), c.present);
        EXPECT_EQ(out, c.text);
    }
}

TEST(ProfileFields, MissingNumericFieldsLeaveTheTargetAlone) {
    int16_t i16 = 7;
    int32_t i32 = 8;
    int flag = 9;
    EXPECT_FALSE(ExtractInt16Field("1|2", 2, i16));
    EXPECT_FALSE(ExtractInt32Field("1|2", 5, i32));
    EXPECT_FALSE(ExtractFlagField("", 1, flag));
    EXPECT_EQ(i16, 7);
    EXPECT_EQ(i32, 8);
    EXPECT_EQ(flag, 9);

    // Present but empty reads as 0.
    EXPECT_TRUE(ExtractInt16Field("1||3", 1, i16));
    EXPECT_EQ(i16, 0);
    EXPECT_TRUE(ExtractInt32Field("x|70000", 1, i32));
    EXPECT_EQ(i32, 70000);
    EXPECT_TRUE(ExtractInt16Field("x|65535", 1, i16));
    EXPECT_EQ(i16, -1);
}

TEST(ProfileFields, FlagsBecomeZeroOrOne) {
    const std::pair<const char*, int> cases[] = {
        {"0", 0}, {"1", 1}, {"2", 1}, {"-1", 1}, {"", 0}, {"yes", 0}, {"65536", 1}, {"4294967296", 0}, {" 3x", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        int flag = -5;
        EXPECT_TRUE(ExtractFlagField(c.first, 0, flag));
        EXPECT_EQ(flag, c.second);
    }
}

TEST(ProfileFields, UpperCaseTouchesOnlyAsciiLetters) {
    EXPECT_EQ(ProfileUpperCase("tyviewer.exe"), "TYVIEWER.EXE");
    EXPECT_EQ(ProfileUpperCase("Mixed_09-z"), "MIXED_09-Z");
    EXPECT_EQ(ProfileUpperCase("\xe9t\xe9"), "\xe9T\xe9");
    EXPECT_EQ(ProfileUpperCase(""), "");
}

}  // namespace
