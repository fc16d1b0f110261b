// Fuzzes the archive reader: lead and entry headers, member walking,
// continuation across volumes and extraction. The input is one to three
// volumes: byte 0 gives the count, the next two 16-bit values the split
// points, the rest is the volumes' bytes.

#include <cstdio>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "FuzzTarget.h"
#include "archive/MediaMultiFile.h"
#include "framework/Exception.h"

namespace {

void WriteVolume(const std::string& dir, const std::uint8_t* data, std::size_t n) {
    std::FILE* f = std::fopen((dir + "/DATA.A" + std::to_string(dir.back() - '0')).c_str(), "wb");
    if (!f)
        return;
    std::fwrite(data, 1, n, f);
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 5)
        return 0;
    int volumes = data[0] % 3 + 1;
    std::size_t body = size - 5;
    std::size_t cut1 = (data[1] | (data[2] << 8)) % (body + 1);
    std::size_t cut2 = (data[3] | (data[4] << 8)) % (body + 1);
    if (cut1 > cut2)
        std::swap(cut1, cut2);
    if (volumes < 3)
        cut2 = body;
    if (volumes < 2)
        cut1 = body;
    const std::uint8_t* p = data + 5;

    static fuzz::VolumeLocator locator;
    static fuzz::NullFileStatus status;
    locator.root = fuzz::ScratchRoot();
    locator.volumes = volumes;
    std::size_t bounds[4] = {0, cut1, cut2, body};
    for (int v = 1; v <= 3; ++v) {
        std::string dir = locator.root + "/" + std::to_string(v);
        std::filesystem::create_directories(dir);
        std::remove((dir + "/DATA.A" + std::to_string(v)).c_str());
        if (v <= volumes)
            WriteVolume(dir, p + bounds[v - 1], bounds[v] - bounds[v - 1]);
    }

    locator.current = locator.root + "/1";
    CMediaMultiFile archive(&locator, nullptr, 1);
    try {
        archive.OpenArchive(locator.current + "/DATA.A1");
        CMultiFileEntry entry(&status);
        int members = 0;
        while (archive.NextEntry(entry, false) && ++members < 64) {
            if (entry.header.Destination() == -1)
                continue;  // passed over by the next NextEntry
            entry.SetOutputPath("/dev/null");
            archive.Extract(entry);
        }
    } catch (const CException&) {
        // Every damage must surface as one of the family's exceptions.
    }
    return 0;
}

void TvsFuzzSeeds(std::vector<std::vector<std::uint8_t>>& seeds) {
    for (const auto& volumes : fuzz::SeedArchives()) {
        std::vector<std::uint8_t> input(5, 0);
        input[0] = static_cast<std::uint8_t>(volumes.size() - 1);
        std::size_t offset = 0;
        for (std::size_t v = 0; v < volumes.size(); ++v) {
            if (v == 1 || v == 2) {
                input[1 + 2 * (v - 1)] = static_cast<std::uint8_t>(offset);
                input[2 + 2 * (v - 1)] = static_cast<std::uint8_t>(offset >> 8);
            }
            input.insert(input.end(), volumes[v].begin(), volumes[v].end());
            offset += volumes[v].size();
        }
        seeds.push_back(input);
    }
}
