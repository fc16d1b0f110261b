// A plain, deterministic mutation driver for builds without libFuzzer
// (g++): runs the seed corpus, then mutated inputs from a fixed seed.
// Options (libFuzzer's spelling): -runs=N -seed=S -max_len=L
// -max_total_time=SECONDS; further arguments are files added to the corpus.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzTarget.h"

namespace {

struct Rng {
    std::uint64_t s;
    std::uint64_t Next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
    std::size_t Below(std::size_t n) { return n ? static_cast<std::size_t>(Next() % n) : 0; }
};

using Input = std::vector<std::uint8_t>;

void Mutate(Input& in, const std::vector<Input>& corpus, Rng& rng, std::size_t maxLen) {
    int steps = 1 + static_cast<int>(rng.Below(4));
    for (int i = 0; i < steps; ++i) {
        switch (rng.Below(8)) {
        case 0:  // flip a bit
            if (!in.empty())
                in[rng.Below(in.size())] ^= static_cast<std::uint8_t>(1u << rng.Below(8));
            break;
        case 1:  // set a byte to an interesting value
            if (!in.empty()) {
                static const std::uint8_t values[] = {0, 1, 0x7F, 0x80, 0xFF, 'm', 4, 2};
                in[rng.Below(in.size())] = values[rng.Below(sizeof values)];
            }
            break;
        case 2:  // random byte
            if (!in.empty())
                in[rng.Below(in.size())] = static_cast<std::uint8_t>(rng.Next());
            break;
        case 3:  // erase a range
            if (!in.empty()) {
                std::size_t at = rng.Below(in.size());
                std::size_t n = 1 + rng.Below(std::min<std::size_t>(in.size() - at, 512));
                in.erase(in.begin() + static_cast<long>(at), in.begin() + static_cast<long>(at + n));
            }
            break;
        case 4:  // insert random bytes
        {
            std::size_t at = rng.Below(in.size() + 1);
            std::size_t n = 1 + rng.Below(64);
            Input bytes(n);
            for (auto& b : bytes)
                b = static_cast<std::uint8_t>(rng.Next());
            in.insert(in.begin() + static_cast<long>(at), bytes.begin(), bytes.end());
            break;
        }
        case 5:  // overwrite a 32-bit field with an edge value
            if (in.size() >= 4) {
                static const std::uint32_t values[] = {0, 1, 346, 4096, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu};
                std::uint32_t v = values[rng.Below(7)];
                std::size_t at = rng.Below(in.size() - 3);
                for (int b = 0; b < 4; ++b)
                    in[at + static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(v >> (8 * b));
            }
            break;
        case 6:  // splice with another corpus entry
            if (!corpus.empty()) {
                const Input& other = corpus[rng.Below(corpus.size())];
                std::size_t cut = rng.Below(in.size() + 1);
                std::size_t from = rng.Below(other.size() + 1);
                in.resize(cut);
                in.insert(in.end(), other.begin() + static_cast<long>(from), other.end());
            }
            break;
        default:  // truncate
            if (!in.empty())
                in.resize(rng.Below(in.size()));
            break;
        }
    }
    if (in.size() > maxLen)
        in.resize(maxLen);
}

}  // namespace

int main(int argc, char** argv) {
    long long runs = 10000;
    std::uint64_t seed = 1;
    std::size_t maxLen = 65536;
    double maxTime = 0;
    std::vector<Input> corpus;
    TvsFuzzSeeds(corpus);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("-runs=", 0) == 0)
            runs = std::atoll(arg.c_str() + 6);
        else if (arg.rfind("-seed=", 0) == 0)
            seed = std::strtoull(arg.c_str() + 6, nullptr, 10);
        else if (arg.rfind("-max_len=", 0) == 0)
            maxLen = static_cast<std::size_t>(std::atoll(arg.c_str() + 9));
        else if (arg.rfind("-max_total_time=", 0) == 0)
            maxTime = std::atof(arg.c_str() + 16);
        else if (arg[0] != '-') {
            std::ifstream in(arg, std::ios::binary);
            corpus.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        }
    }
    if (seed == 0)
        seed = 1;
    Rng rng{seed * 0x9E3779B97F4A7C15ull};
    auto start = std::chrono::steady_clock::now();
    for (const Input& in : corpus)
        LLVMFuzzerTestOneInput(in.data(), in.size());
    long long done = 0;
    for (; runs < 0 || done < runs; ++done) {
        if (maxTime > 0 && std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > maxTime)
            break;
        Input in = corpus[rng.Below(corpus.size())];
        Mutate(in, corpus, rng, maxLen);
        LLVMFuzzerTestOneInput(in.data(), in.size());
        // Keep a few mutants as parents so that damage can accumulate.
        if (rng.Below(64) == 0 && corpus.size() < 4096)
            corpus.push_back(in);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("Done %lld runs in %.1f s (seed %llu, %zu corpus inputs)\n", done, seconds,
                static_cast<unsigned long long>(seed), corpus.size());
    return 0;
}
