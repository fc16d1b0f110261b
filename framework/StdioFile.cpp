#include "framework/StdioFile.h"

#include <cerrno>

namespace {

// fopen mode for the framework's open flags. modeCreate|modeNoTruncate is
// "open if there, else create", which fopen has no single mode for: it is
// handled in Open with a second attempt.
std::string FopenMode(unsigned flags, bool existingOnly) {
    const unsigned access = flags & 3u;
    const bool create = (flags & CStdioFile::modeCreate) != 0;
    const bool keep = (flags & CStdioFile::modeNoTruncate) != 0;
    std::string mode;
    if (access == CStdioFile::modeRead && !create) {
        mode = "r";
    } else if (!create || (keep && existingOnly)) {
        mode = "r+";   // the file must exist; writing starts at its beginning
    } else {
        mode = access == CStdioFile::modeWrite ? "w" : "w+";
    }
    if (flags & CStdioFile::typeBinary) mode += 'b';
    return mode;
}

}  // namespace

CStdioFile::~CStdioFile() { Abort(); }

void CStdioFile::Open(const std::string& fileName, unsigned flags) {
    Abort();
    fileName_ = fileName;
    const bool openOrCreate = (flags & modeCreate) && (flags & modeNoTruncate);
    errno = 0;
    stream_ = std::fopen(fileName.c_str(), FopenMode(flags, openOrCreate).c_str());
    if (!stream_ && openOrCreate && errno == ENOENT) {
        errno = 0;
        stream_ = std::fopen(fileName.c_str(), FopenMode(flags, false).c_str());
    }
    if (!stream_) ThrowFromErrno(errno);
}

void CStdioFile::Close() {
    if (!stream_) return;
    std::FILE* s = stream_;
    stream_ = nullptr;
    errno = 0;
    if (std::fclose(s) != 0) ThrowFromErrno(errno);
}

void CStdioFile::Abort() noexcept {
    if (!stream_) return;
    std::fclose(stream_);
    stream_ = nullptr;
}

bool CStdioFile::ReadString(std::string& line) {
    std::FILE* s = Stream();
    line.clear();
    char chunk[256];
    bool readAny = false;
    errno = 0;
    while (std::fgets(chunk, sizeof chunk, s)) {
        readAny = true;
        line += chunk;
        if (!line.empty() && line.back() == '\n') break;
    }
    if (std::ferror(s)) ThrowFromErrno(errno);
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    return readAny;
}

void CStdioFile::WriteString(const std::string& text) { Write(text.data(), text.size()); }

std::size_t CStdioFile::Read(void* buffer, std::size_t count) {
    std::FILE* s = Stream();
    errno = 0;
    const std::size_t n = std::fread(buffer, 1, count, s);
    if (n < count && std::ferror(s)) ThrowFromErrno(errno);
    return n;
}

void CStdioFile::Write(const void* buffer, std::size_t count) {
    std::FILE* s = Stream();
    errno = 0;
    if (count != 0 && std::fwrite(buffer, 1, count, s) != count) ThrowFromErrno(errno);
}

long CStdioFile::Seek(long offset, SeekPosition from) {
    std::FILE* s = Stream();
    errno = 0;
    if (std::fseek(s, offset, from) != 0) {
        // A position before the start is a bad seek whatever errno says.
        throw CFileException(CFileException::badSeek, errno, fileName_);
    }
    return GetPosition();
}

long CStdioFile::GetPosition() const {
    errno = 0;
    const long pos = std::ftell(Stream());
    if (pos < 0) ThrowFromErrno(errno);
    return pos;
}

long CStdioFile::GetLength() const {
    std::FILE* s = Stream();
    const long pos = GetPosition();
    errno = 0;
    if (std::fseek(s, 0, SEEK_END) != 0) ThrowFromErrno(errno);
    const long length = GetPosition();
    if (std::fseek(s, pos, SEEK_SET) != 0) ThrowFromErrno(errno);
    return length;
}

void CStdioFile::Flush() {
    std::FILE* s = Stream();
    errno = 0;
    if (std::fflush(s) != 0) ThrowFromErrno(errno);
}

std::FILE* CStdioFile::Stream() const {
    // Using a closed file is a program error, reported like the runtime's EBADF.
    if (!stream_) throw CFileException(CFileException::invalidFile, -1, fileName_);
    return stream_;
}

void CStdioFile::ThrowFromErrno(int errnoValue) const {
    // A failure that left errno at 0 is still a failure.
    if (errnoValue == 0) throw CFileException(CFileException::generic, -1, fileName_);
    CFileException::ThrowErrno(errnoValue, fileName_);
}
