#pragma once
// CGuardedFile: a file over the C runtime's buffered stream, the base of every
// archive file class. Reads go through the stream's buffer; files opened for
// writing are unbuffered so that a full disk is seen at the write that hit it.
// Failures raise CFileException. Portable: no <windows.h>.

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/Exception.h"

class CGuardedFile {
public:
    // Test seam, built only into the test tree (TVS_FAULT_POINTS): the free
    // space of the medium that every write of this process shares, counted
    // down as bytes reach a file. A write that does not fit stops where the
    // space ends, as on a full disk. Null (the default) leaves writes alone.
    static void SetWriteSpaceForTest(std::uint64_t* freeBytes);

    enum SeekFrom { begin = SEEK_SET, current = SEEK_CUR, end = SEEK_END };

    CGuardedFile() = default;
    virtual ~CGuardedFile();
    CGuardedFile(const CGuardedFile&) = delete;
    CGuardedFile& operator=(const CGuardedFile&) = delete;

    // Opens path for reading, sharing everything with other openers.
    // Throws CFileException (cause from the failure, the path); on success
    // the opened name becomes path.
    void OpenRead(const std::string& path, bool binary);
    // Creates or truncates path for reading and writing; as OpenRead.
    void OpenWrite(const std::string& path, bool binary);
    // Takes over an already open stream (closed by this object); for callers
    // that read from memory or a temporary stream.
    void Attach(std::FILE* stream, const std::string& name);

    // Opens with a C runtime mode string; the tracked file resets its part
    // counters here.
    virtual void Open(const std::string& path, const char* mode);
    // Reads up to n bytes; returns the count (0 when no file is open).
    virtual std::uint32_t Read(void* buffer, std::uint32_t n);
    // Writes all n bytes with the disk-full handling.
    virtual void Write(const void* buffer, std::uint32_t n);
    // Closes; a failure to flush raises CFileException. No-op when closed.
    virtual void Close();
    // Closes and ignores every failure.
    virtual void Abort();

    void Seek(long offset, SeekFrom from);
    std::uint32_t GetPosition() const;

    virtual bool IsOpen() const { return stream != nullptr; }
    virtual std::string GetOpenedName() const { return openedName; }
    // Read that insists on n bytes; fewer raise CFileException end-of-file.
    virtual void ReadExact(void* buffer, std::uint32_t n);
    // Asked when a write fails for lack of space; true retries the write.
    virtual bool OnDiskFull(const CFileException& e);

protected:
    // The write of the bytes to the stream, without the disk-full handling;
    // `done` grows by what reached the file, also when it throws.
    void WriteToHandle(const void* buffer, std::uint32_t n, std::uint32_t& done);

    std::FILE* stream = nullptr;
    std::string openedName;
};
