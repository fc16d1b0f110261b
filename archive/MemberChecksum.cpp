#include "archive/MemberChecksum.h"

namespace {

struct ChecksumTable {
    std::uint32_t entry[256];
    ChecksumTable() {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
            entry[i] = c;
        }
    }
};

const ChecksumTable& Table() {
    static const ChecksumTable table;  // built on first use
    return table;
}

}  // namespace

std::uint32_t UpdateMemberChecksum(std::uint32_t checksum, const void* data, std::size_t n) {
    const std::uint32_t* table = Table().entry;
    const unsigned char* p = static_cast<const unsigned char*>(data);
    std::uint32_t c = checksum;
    for (std::size_t i = 0; i < n; ++i)
        c = table[(c ^ p[i]) & 0xFF] ^ ((c >> 6) & 0x00FFFFFFu);
    return c;
}
