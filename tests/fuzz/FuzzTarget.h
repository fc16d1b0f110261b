#pragma once
// What every fuzz target provides: the libFuzzer entry point and a seed
// corpus built by code (valid archives from the writer, so mutations start
// from inputs that reach deep into the reader).

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
void TvsFuzzSeeds(std::vector<std::vector<std::uint8_t>>& seeds);
