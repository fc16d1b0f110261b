#include "archive/ArchiveFormat.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "archive/MemberChecksum.h"

using namespace ArchiveFormat;

TEST(MemberChecksum, KnownVectorsAndChunking) {
    EXPECT_EQ(UpdateMemberChecksum(0, "abc", 3), 0x3E105F31u);
    EXPECT_EQ(UpdateMemberChecksum(0, "", 0), 0u);
    // Not CRC-32 (which gives 0x352441C2 for "abc").
    EXPECT_NE(UpdateMemberChecksum(0, "abc", 3), 0x352441C2u);
    // Fed in pieces it gives the same value as in one go.
    const char text[] = "The quick brown fox jumps over the lazy dog";
    std::uint32_t whole = UpdateMemberChecksum(0, text, sizeof text - 1);
    std::uint32_t pieces = 0;
    for (std::size_t i = 0; i < sizeof text - 1; i += 5)
        pieces = UpdateMemberChecksum(pieces, text + i, std::min<std::size_t>(5, sizeof text - 1 - i));
    EXPECT_EQ(pieces, whole);
}

// The checksum as the format defines it, one byte at a time.
static std::uint32_t ReferenceChecksum(std::uint32_t c, const unsigned char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t t = (c ^ p[i]) & 0xFF;
        for (int bit = 0; bit < 8; ++bit)
            t = (t & 1) ? (t >> 1) ^ 0xEDB88320u : t >> 1;
        c = t ^ ((c >> 6) & 0x00FFFFFFu);
    }
    return c;
}

TEST(MemberChecksum, EightBytesAtOnceAgreeWithTheByteByByteDefinition) {
    std::uint32_t x = 12345;
    std::vector<unsigned char> data(4099);
    for (unsigned char& b : data) {
        x = x * 1103515245u + 12345u;
        b = static_cast<unsigned char>(x >> 16);
    }
    // Every length around the eight-byte stride, from several starting
    // values, and every byte value in every position of a stride.
    for (std::uint32_t start : {0u, 1u, 0xFFFFFFFFu, 0x80000000u, 0x3E105F31u}) {
        for (std::size_t n : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 63u, 4096u, 4099u})
            ASSERT_EQ(UpdateMemberChecksum(start, data.data(), n), ReferenceChecksum(start, data.data(), n))
                << start << " " << n;
    }
    unsigned char block[8] = {};
    for (int position = 0; position < 8; ++position) {
        for (int value = 0; value < 256; ++value) {
            block[position] = static_cast<unsigned char>(value);
            ASSERT_EQ(UpdateMemberChecksum(0x5A5A5A5Au, block, 8), ReferenceChecksum(0x5A5A5A5Au, block, 8));
        }
        block[position] = 0;
    }
}

TEST(EntryHeaderLayout, FieldsSitAtTheirOffsetsLittleEndian) {
    EntryHeader h;
    h.SetModTime(0x11223344);
    h.SetName("TYVIEW.EXE");
    h.SetDecodedSize(0xA1A2A3A4);
    h.SetStoredSize(0xB1B2B3B4);
    h.SetChecksum(0x3E105F31);
    h.SetMethod(4);
    h.SetMethodParam(-7);
    h.SetDestination(-3);
    h.SetAttributes(0x0121);
    h.SetContinued(1);
    h.SetExtra("x");
    const unsigned char* b = h.Bytes();
    struct Field {
        std::size_t offset;
        std::vector<unsigned char> bytes;
    };
    const std::vector<Field> fields = {
        {0, {'m', 'f', 'e', 'n'}},       {4, {1, 0}},
        {6, {0x5A, 0x01}},               {8, {0x44, 0x33, 0x22, 0x11}},
        {16, {'T', 'Y', 'V'}},           {276, {0xA4, 0xA3, 0xA2, 0xA1}},
        {280, {0xB4, 0xB3, 0xB2, 0xB1}}, {284, {0x31, 0x5F, 0x10, 0x3E}},
        {292, {4, 0, 0, 0}},             {296, {0xF9, 0xFF, 0xFF, 0xFF}},
        {300, {0xFD, 0xFF}},             {302, {0x21, 0x01}},
        {304, {1, 0}},                   {306, {'x', 0}},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE("offset " + std::to_string(f.offset));
        EXPECT_EQ(std::memcmp(b + f.offset, f.bytes.data(), f.bytes.size()), 0);
    }
    EXPECT_EQ(h.Destination(), -3);
    EXPECT_EQ(h.MethodParam(), -7);
    EXPECT_EQ(h.Name(), "TYVIEW.EXE");
}

TEST(EntryHeaderLayout, TextFieldsAreCutAndBounded) {
    EntryHeader h;
    h.SetName(std::string(300, 'a'));
    EXPECT_EQ(h.Name(), std::string(259, 'a'));  // the terminator is kept
    h.SetExtra(std::string(50, 'e'));
    EXPECT_EQ(h.Extra(), std::string(39, 'e'));
    // No NUL at all: the copy stops at the field's end.
    std::memset(h.Bytes() + kNameOffset, 'n', kNameWidth);
    EXPECT_EQ(h.Name().size(), kNameWidth);
    EXPECT_EQ(h.DecodedSize(), 0u);  // the neighbour was not touched
}

TEST(VolumeNames, NextNameAndPathParts) {
    struct Case {
        const char* in;
        const char* next;
    };
    const Case cases[] = {
        {"DATA.A1", "DATA.A2"},
        {"C:\\SETUP\\DISK01\\DATA.A1", "DATA.A2"},
        {"DATA.A9", "DATA.A:"},  // no carry
        {"TV.119", "TV.11:"},
        {"/tmp/x/ARC.AA", "ARC.AB"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NextVolumeName(c.in), c.next) << c.in;
    EXPECT_EQ(FileNamePart("A:DATA.A1"), "DATA.A1");
    EXPECT_EQ(FileNamePart("dir/sub\\F.X"), "F.X");
    EXPECT_EQ(JoinPath("C:\\DISK02\\", "DATA.A2"), "C:\\DISK02\\DATA.A2");
    EXPECT_EQ(JoinPath("", "DATA.A2"), "DATA.A2");
    EXPECT_EQ(JoinPath("A:", "DATA.A2"), "A:DATA.A2");
}
