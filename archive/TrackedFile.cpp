#include "archive/TrackedFile.h"

#include <algorithm>

#include "archive/MemberChecksum.h"

void CTrackedFile::Open(const std::string& path, const char* mode) {
    partReadStart = 0;
    partWriteStart = 0;
    CGuardedFile::Open(path, mode);
}

std::uint32_t CTrackedFile::Read(void* buffer, std::uint32_t n) {
    unsigned char* out = static_cast<unsigned char*>(buffer);
    std::uint32_t got = 0;
    while (got < n) {
        std::uint32_t want = n - got;
        std::uint32_t toLimit = RemainingToLimit(readCount);
        std::uint32_t toBlock = blockSize ? blockSize - readCount % blockSize : kNoLimit;
        want = std::min({want, toLimit, toBlock});
        std::uint32_t r = CGuardedFile::Read(out + got, want);
        got += r;
        readCount += r;
        if (RemainingToLimit(readCount) == 0 && AtLimit())
            break;
        if (blockSize && r && readCount % blockSize == 0)
            OnBlockBoundary();
        // A short read ends the physical file; AtLimit may have opened the
        // next one, in which case the loop reads on from there.
        if (r != want && AtLimit())
            break;
    }
    if (checksumReads)
        checksum = UpdateMemberChecksum(checksum, out, got);
    return got;
}

void CTrackedFile::Write(const void* buffer, std::uint32_t n) {
    const unsigned char* in = static_cast<const unsigned char*>(buffer);
    checksum = UpdateMemberChecksum(checksum, in, n);
    std::uint32_t done = 0;
    while (done < n) {
        std::uint32_t piece = std::min(n - done, RemainingToLimit(writeCount));
        if (piece == 0) {
            // Past the logical limit nothing more fits: fail like a full
            // medium rather than loop for ever.
            AtLimit();
            throw CFileException(CFileException::diskFull, -1, openedName);
        }
        CGuardedFile::Write(in + done, piece);
        writeCount += piece;
        done += piece;
        if (RemainingToLimit(writeCount) == 0)
            AtLimit();
    }
}

void CTrackedFile::OpenNextPart(const std::string& name) {
    CGuardedFile::Open(name, "rb");
    partReadStart = readCount;
    partWriteStart = writeCount;
}

std::uint32_t CTrackedFile::RawRead(void* buffer, std::uint32_t n) {
    return CGuardedFile::Read(buffer, n);
}

void CTrackedFile::RawWrite(const void* buffer, std::uint32_t n) {
    CGuardedFile::Write(buffer, n);
}

void CTrackedFile::ResetCounts() {
    readCount = 0;
    writeCount = 0;
    checksum = 0;
}
