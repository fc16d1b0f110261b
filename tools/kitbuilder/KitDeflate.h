#pragma once
// The kit builder's deflate: a zlib stream (what Setup's reader decodes
// with zlib) at levels 0 to 12. The host build deflates with libdeflate,
// whose levels above 9 search harder and make smaller streams than zlib's
// best; a build without it (the Windows one) uses zlib, levels 10 to 12
// being its 9. Thread-safe. Portable.

#include <vector>

constexpr int kKitMaxLevel = 12;
// The level that gives the smallest kits while still compressing faster than
// gzip -6 on two processors (bench/kit-bench.sh). Levels 10 to 12 take 3 to
// 4 % off compressible files, at two to three times gzip's wall time.
constexpr int kKitDefaultLevel = 9;

// Throws ArchiveWriteError for a level outside 0-12 or a failed deflate.
std::vector<unsigned char> KitDeflate(const std::vector<unsigned char>& data, int level);
