#include "FuzzSupport.h"

#include <filesystem>
#include <unistd.h>

namespace fuzz {

std::string ScratchRoot() {
    static const std::string root = [] {
        auto p = std::filesystem::temp_directory_path() / ("tvs_fuzz_" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return root;
}

std::vector<unsigned char> SeedPayload(std::size_t n, std::uint32_t seed) {
    std::vector<unsigned char> out(n);
    std::uint32_t x = seed * 2654435761u + 7;
    for (std::size_t i = 0; i < n; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = (i / 64) % 2 ? static_cast<unsigned char>("HETATM 0123."[x % 12]) : static_cast<unsigned char>(x);
    }
    return out;
}

std::vector<std::vector<std::vector<unsigned char>>> SeedArchives() {
    std::vector<std::vector<std::vector<unsigned char>>> seeds;
    auto make = [&](std::uint64_t capacity, std::vector<MemberSource> members) {
        MemoryVolumeOutput out(capacity);
        CMultiFileWriter writer(out);
        for (const MemberSource& m : members)
            writer.AddMember(m);
        writer.Finish();
        seeds.push_back(out.volumes);
    };
    auto member = [](const char* name, std::size_t n, std::int32_t method, std::uint32_t seed) {
        MemberSource m;
        m.name = name;
        m.data = SeedPayload(n, seed);
        m.method = method;
        return m;
    };
    make(UINT64_MAX, {});
    make(UINT64_MAX, {member("A.TXT", 300, 2, 1)});
    make(UINT64_MAX, {member("B.PDB", 5000, 4, 2), member("E", 0, 2, 3), member("C", 100, 4, 4)});
    make(1200, {member("SPAN", 2000, 2, 5), member("D", 700, 4, 6)});
    MemberSource skip = member("SKIP", 900, 4, 7);
    skip.destination = -1;
    make(UINT64_MAX, {skip, member("K", 50, 2, 8)});
    return seeds;
}

}  // namespace fuzz
