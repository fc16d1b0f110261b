#pragma once
// A buffered file over the C runtime's FILE stream, with line reading.
// Portable: no <windows.h>. Every failure throws CFileException with the
// cause taken from errno and the file's name.

#include <cstdio>
#include <string>

#include "framework/Exception.h"

class CStdioFile {
public:
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        modeCreate = 0x1000,      // create, or truncate an existing file
        modeNoTruncate = 0x2000,  // with modeCreate: keep an existing file's contents
        typeText = 0x4000,        // the runtime's text mode (the default)
        typeBinary = 0x8000,
    };
    enum SeekPosition { begin = SEEK_SET, current = SEEK_CUR, end = SEEK_END };

    CStdioFile() = default;
    // Opens at once; throws like Open.
    CStdioFile(const std::string& fileName, unsigned flags) { Open(fileName, flags); }
    // Closes without reporting: use Close() to learn about a failed flush.
    ~CStdioFile();
    CStdioFile(const CStdioFile&) = delete;
    CStdioFile& operator=(const CStdioFile&) = delete;

    // Opens `fileName`; throws CFileException on failure. A file that is
    // already open is closed first.
    void Open(const std::string& fileName, unsigned flags);
    // Closes; throws when the last buffered data cannot be written.
    void Close();
    // Closes, ignoring every failure.
    void Abort() noexcept;
    bool IsOpen() const { return stream_ != nullptr; }
    const std::string& GetFilePath() const { return fileName_; }

    // Reads one line without its line end ("\n", or "\r\n" in binary mode).
    // False at the end of the file with nothing read.
    bool ReadString(std::string& line);
    // Writes `text` as it is (text mode turns "\n" into the system's line end).
    void WriteString(const std::string& text);

    // Reads up to `count` bytes; returns how many were read (less only at the end).
    std::size_t Read(void* buffer, std::size_t count);
    void Write(const void* buffer, std::size_t count);

    // Moves the position; returns the new position from the start.
    long Seek(long offset, SeekPosition from);
    long GetPosition() const;
    // Length in bytes; keeps the position.
    long GetLength() const;
    void Flush();

private:
    std::FILE* Stream() const;
    [[noreturn]] void ThrowFromErrno(int errnoValue) const;

    std::FILE* stream_ = nullptr;
    std::string fileName_;
};
