// libFuzzer only: fills an empty corpus directory (the first non-option
// argument) with the target's seeds built by code, so that a run starts
// from valid archives.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    for (int i = 1; i < *argc; ++i) {
        std::string arg = (*argv)[i];
        if (arg.empty() || arg[0] == '-')
            continue;
        std::filesystem::path dir(arg);
        if (!std::filesystem::is_directory(dir) || !std::filesystem::is_empty(dir))
            return 0;
        std::vector<std::vector<std::uint8_t>> seeds;
        TvsFuzzSeeds(seeds);
        for (std::size_t s = 0; s < seeds.size(); ++s) {
            std::FILE* f = std::fopen((dir / ("seed" + std::to_string(s))).string().c_str(), "wb");
            if (!f)
                continue;
            std::fwrite(seeds[s].data(), 1, seeds[s].size(), f);
            std::fclose(f);
        }
        return 0;
    }
    return 0;
}
