#pragma once
// CTrackedFile: a guarded file that counts the bytes read and written,
// keeps the running member checksum, signals block boundaries while reading
// and stops at a logical limit. The archive reader, the member output and
// the source files of the media are all tracked files. Portable.

#include <cstdint>

#include "archive/GuardedFile.h"

class CTrackedFile : public CGuardedFile {
public:
    static constexpr std::uint32_t kNoLimit = 2147483647u;

    // Resets the part counters, then opens.
    void Open(const std::string& path, const char* mode) override;
    // Tracked read: counted, checksummed, cut at block boundaries and the
    // limit; a short physical read asks AtLimit whether to stop.
    std::uint32_t Read(void* buffer, std::uint32_t n) override;
    // Tracked write: checksummed, counted, written with the disk-full
    // handling. Throws CFileException (disk full) past the limit.
    void Write(const void* buffer, std::uint32_t n) override;

    // Opens the next physical part of the same logical file for reading.
    virtual void OpenNextPart(const std::string& name);
    // Reads and writes that bypass counting, checksum, boundaries and limit.
    virtual std::uint32_t RawRead(void* buffer, std::uint32_t n);
    virtual void RawWrite(const void* buffer, std::uint32_t n);
    // Called whenever the read count reaches a multiple of blockSize.
    virtual void OnBlockBoundary() {}
    // Called at the limit or after a short physical read; true stops reading.
    virtual bool AtLimit() { return true; }

    // Counts and checksum back to zero.
    void ResetCounts();

    std::uint32_t blockSize = 0;  // 0: no block boundaries
    std::uint32_t limit = kNoLimit;
    std::uint32_t readCount = 0;
    std::uint32_t writeCount = 0;
    std::uint32_t checksum = 0;
    // Reads add to the checksum too unless this is cleared.
    bool checksumReads = true;
    std::uint32_t partReadStart = 0;
    std::uint32_t partWriteStart = 0;

private:
    std::uint32_t RemainingToLimit(std::uint32_t count) const { return count < limit ? limit - count : 0; }
};
