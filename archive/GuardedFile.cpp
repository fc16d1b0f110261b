#include "archive/GuardedFile.h"

#include <algorithm>
#include <cerrno>

#ifdef TVS_FAULT_POINTS
namespace {
std::uint64_t* writeSpace = nullptr;
}  // namespace

void CGuardedFile::SetWriteSpaceForTest(std::uint64_t* freeBytes) {
    writeSpace = freeBytes;
}
#endif

CGuardedFile::~CGuardedFile() {
    Abort();
}

void CGuardedFile::OpenRead(const std::string& path, bool binary) {
    // The C runtime opens with deny-none sharing, so a second reader of the
    // same diskette file is not refused.
    Open(path, binary ? "rb" : "r");
}

void CGuardedFile::OpenWrite(const std::string& path, bool binary) {
    Open(path, binary ? "w+b" : "w+");
    // Output goes straight to the handle: a full disk must fail the write
    // that caused it, not a later flush.
    std::setvbuf(stream, nullptr, _IONBF, 0);
}

void CGuardedFile::Attach(std::FILE* s, const std::string& name) {
    CGuardedFile::Abort();
    stream = s;
    openedName = name;
}

void CGuardedFile::Open(const std::string& path, const char* mode) {
    // Not the virtual Abort: an archive's Abort cancels its running coder,
    // and continuation opens the next volume while the coder runs.
    CGuardedFile::Abort();
    errno = 0;
    std::FILE* s = std::fopen(path.c_str(), mode);
    if (!s) {
        int error = errno;
        throw CFileException(error ? CFileException::ErrnoToCause(error) : CFileException::generic, error, path);
    }
    stream = s;
    openedName = path;
}

std::uint32_t CGuardedFile::Read(void* buffer, std::uint32_t n) {
    if (!stream || n == 0)
        return 0;
    std::size_t got = std::fread(buffer, 1, n, stream);
    if (got < n && std::ferror(stream)) {
        int error = errno;
        std::clearerr(stream);
        throw CFileException(error ? CFileException::ErrnoToCause(error) : CFileException::hardIO, error, openedName);
    }
    return static_cast<std::uint32_t>(got);
}

void CGuardedFile::WriteToHandle(const void* buffer, std::uint32_t n, std::uint32_t& done) {
    if (n == 0)
        return;
    if (!stream)
        throw CFileException(CFileException::invalidFile, -1, openedName);
    errno = 0;
#ifdef TVS_FAULT_POINTS
    const std::uint32_t fits =
        writeSpace ? static_cast<std::uint32_t>(std::min<std::uint64_t>(n, *writeSpace)) : n;
    std::size_t put = fits ? std::fwrite(buffer, 1, fits, stream) : 0;
    if (writeSpace)
        *writeSpace -= put;
#else
    std::size_t put = std::fwrite(buffer, 1, n, stream);
#endif
    done += static_cast<std::uint32_t>(put);
    if (put == n)
        return;
    int error = errno;
    std::clearerr(stream);
    // A short write without an error code is a full medium.
    if (error == 0 || error == ENOSPC)
        throw CFileException(CFileException::diskFull, error ? error : -1, openedName);
    throw CFileException(CFileException::ErrnoToCause(error), error, openedName);
}

void CGuardedFile::Write(const void* buffer, std::uint32_t n) {
    const unsigned char* bytes = static_cast<const unsigned char*>(buffer);
    std::uint32_t done = 0;
    for (;;) {
        try {
            WriteToHandle(bytes + done, n - done, done);
            return;
        } catch (const CFileException& e) {
            if (e.cause != CFileException::diskFull)
                throw;
            if (!OnDiskFull(e))
                throw CFileException(CFileException::diskFull, -1);
            // Unbuffered output: whatever the stream took is on the medium,
            // so only the rest is written again.
        }
    }
}

void CGuardedFile::Close() {
    if (!stream)
        return;
    std::FILE* s = stream;
    stream = nullptr;
    if (std::fclose(s) != 0) {
        int error = errno;
        throw CFileException(error ? CFileException::ErrnoToCause(error) : CFileException::generic, error, openedName);
    }
}

void CGuardedFile::Abort() {
    if (!stream)
        return;
    std::fclose(stream);
    stream = nullptr;
}

void CGuardedFile::Seek(long offset, SeekFrom from) {
    if (!stream || std::fseek(stream, offset, from) != 0)
        throw CFileException(CFileException::badSeek, errno, openedName);
}

std::uint32_t CGuardedFile::GetPosition() const {
    if (!stream)
        return 0;
    long position = std::ftell(stream);
    return position < 0 ? 0 : static_cast<std::uint32_t>(position);
}

void CGuardedFile::ReadExact(void* buffer, std::uint32_t n) {
    if (Read(buffer, n) < n)
        throw CFileException(CFileException::endOfFile, -1, openedName);
}

bool CGuardedFile::OnDiskFull(const CFileException&) {
    return false;
}
