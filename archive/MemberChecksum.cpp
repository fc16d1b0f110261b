#include "archive/MemberChecksum.h"

namespace {

// One step of the checksum: c' = T[(c ^ b) & 0xFF] ^ ((c >> 6) & 0x00FFFFFF).
// The step is linear over GF(2) in the running value and the byte together
// (the CRC table is, and so are the shift and the mask), so eight steps can
// be taken at once: the value after eight bytes is the sum of what the old
// value alone gives, looked up per byte of it, and of what each of the eight
// bytes alone gives. Twelve independent lookups replace eight dependent
// steps; byte-serial checksumming was the costliest part of decoding.
struct ChecksumTables {
    std::uint32_t step[256];       // the format's table
    std::uint32_t value[4][256];   // eight steps of (byte k of the value) with zero bytes
    std::uint32_t input[8][256];   // eight steps from 0 with only byte i set

    static std::uint32_t Step(const std::uint32_t* table, std::uint32_t c, unsigned char b) {
        return table[(c ^ b) & 0xFF] ^ ((c >> 6) & 0x00FFFFFFu);
    }

    ChecksumTables() {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            step[i] = c;
        }
        for (std::uint32_t v = 0; v < 256; ++v) {
            for (int k = 0; k < 4; ++k) {
                std::uint32_t c = v << (8 * k);
                for (int s = 0; s < 8; ++s)
                    c = Step(step, c, 0);
                value[k][v] = c;
            }
            for (int i = 0; i < 8; ++i) {
                std::uint32_t c = 0;
                for (int s = 0; s < 8; ++s)
                    c = Step(step, c, s == i ? static_cast<unsigned char>(v) : 0);
                input[i][v] = c;
            }
        }
    }
};

const ChecksumTables& Tables() {
    static const ChecksumTables tables;  // built on first use
    return tables;
}

}  // namespace

std::uint32_t UpdateMemberChecksum(std::uint32_t checksum, const void* data, std::size_t n) {
    const ChecksumTables& t = Tables();
    const unsigned char* p = static_cast<const unsigned char*>(data);
    std::uint32_t c = checksum;
    for (; n >= 8; n -= 8, p += 8) {
        c = t.value[0][c & 0xFF] ^ t.value[1][(c >> 8) & 0xFF] ^ t.value[2][(c >> 16) & 0xFF] ^
            t.value[3][c >> 24] ^ t.input[0][p[0]] ^ t.input[1][p[1]] ^ t.input[2][p[2]] ^ t.input[3][p[3]] ^
            t.input[4][p[4]] ^ t.input[5][p[5]] ^ t.input[6][p[6]] ^ t.input[7][p[7]];
    }
    for (; n != 0; --n, ++p)
        c = ChecksumTables::Step(t.step, c, *p);
    return c;
}
