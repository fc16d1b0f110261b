#include "tools/kitbuilder/KitDeflate.h"

#include <libdeflate.h>

#include <memory>
#include <string>

#include "archive/MultiFileWriter.h"

std::vector<unsigned char> KitDeflate(const std::vector<unsigned char>& data, int level) {
    if (level < 0 || level > kKitMaxLevel)
        throw ArchiveWriteError("deflate level " + std::to_string(level) + " is not 0 to 12");
    // One compressor per call: each keeps its own state, so members can be
    // deflated on several threads at once.
    std::unique_ptr<libdeflate_compressor, decltype(&libdeflate_free_compressor)> c(
        libdeflate_alloc_compressor(level), &libdeflate_free_compressor);
    if (!c)
        throw ArchiveWriteError("deflate: out of memory");
    std::vector<unsigned char> out(libdeflate_zlib_compress_bound(c.get(), data.size()));
    std::size_t n = libdeflate_zlib_compress(c.get(), data.data(), data.size(), out.data(), out.size());
    if (n == 0)
        throw ArchiveWriteError("deflate failed");
    out.resize(n);
    return out;
}
