// Fuzzes member decoding: the stored and deflate coders driven through
// Extract, as for a single file read from the media. Byte 0 picks the
// method, bytes 1-4 the decoded size, bytes 5-6 how many stored bytes the
// header claims beyond or short of what follows; the rest is stored data.

#include <algorithm>
#include <cstdio>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "archive/MultiFile.h"
#include "framework/Exception.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 7)
        return 0;
    static fuzz::NullFileStatus status;
    std::int32_t method = data[0] & 1 ? 4 : 2;
    std::uint32_t decoded = (data[1] | (data[2] << 8) | (data[3] << 16)) % (1u << 20);
    int skew = static_cast<std::int8_t>(data[5]);
    std::size_t body = size - 7;
    std::uint32_t stored = static_cast<std::uint32_t>(std::max<long>(0, static_cast<long>(body) + (data[6] & 1 ? skew : 0)));

    std::FILE* in = fmemopen(const_cast<std::uint8_t*>(data + 7), body ? body : 1, "rb");
    if (!in)
        return 0;
    CMultiFile source;
    source.Attach(in, "member");
    if (!body)
        source.Seek(0, CGuardedFile::end);
    CMultiFileEntry entry(&status);
    entry.header.SetMethod(method);
    entry.header.SetStoredSize(stored);
    entry.header.SetDecodedSize(decoded);
    entry.header.SetChecksum(data[4] ? 0 : 0x12345678);
    entry.SetOutputPath("/dev/null");
    try {
        source.Extract(entry);
    } catch (const CException&) {
    }
    return 0;
}

void TvsFuzzSeeds(std::vector<std::vector<std::uint8_t>>& seeds) {
    for (std::int32_t method : {2, 4}) {
        for (std::size_t n : {0u, 1u, 100u, 5000u, 20000u}) {
            std::vector<unsigned char> plain = fuzz::SeedPayload(n, static_cast<std::uint32_t>(n));
            std::vector<unsigned char> stored = method == 4 ? DeflateMember(plain, 9) : plain;
            std::vector<std::uint8_t> input = {static_cast<std::uint8_t>(method == 4), static_cast<std::uint8_t>(n),
                                               static_cast<std::uint8_t>(n >> 8), static_cast<std::uint8_t>(n >> 16),
                                               1, 0, 0};
            input.insert(input.end(), stored.begin(), stored.end());
            seeds.push_back(input);
        }
    }
}
