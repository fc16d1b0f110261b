#pragma once
// The member checksum of the archive format: the CRC-32 table (reflected
// polynomial 0xEDB88320) with the running value shifted right by 6 rather
// than 8, starting at 0 and without a final inversion. "abc" gives
// 0x3E105F31; no bytes give 0. It is not CRC-32: do not swap in a library CRC.

#include <cstddef>
#include <cstdint>

// Continues a checksum over n more bytes.
std::uint32_t UpdateMemberChecksum(std::uint32_t checksum, const void* data, std::size_t n);
