#include "archive/Coder.h"

#include <algorithm>
#include <cerrno>

#include <zlib.h>

#include "archive/TrackedFile.h"
#include "errors/SetupException.h"
#include "framework/Exception.h"

int CCoder::ReadByte() {
    unsigned char b = 0;
    return ReadBlock(&b, 1) == 1 ? b : -1;
}

std::uint32_t CCoder::ReadBlock(void* buffer, std::uint32_t n) {
    return sourceFile->Read(buffer, n);
}

void CCoder::WriteByte(unsigned char b) {
    WriteBlock(&b, 1);
}

void CCoder::WriteBlock(const void* buffer, std::uint32_t n) {
    destFile->Write(buffer, n);
}

void CCoder::Encode() {
    throw CNotSupportedException();
}

void CCoder::EncodeStream(CTrackedFile&, CTrackedFile&) {
    throw CNotSupportedException();
}

void CCoder::DecodeStream(CTrackedFile& source, CTrackedFile& destination, std::uint32_t storedSize,
                          std::uint32_t decodedSize) {
    struct Unbind {
        CCoder* coder;
        ~Unbind() {
            coder->sourceFile = nullptr;
            coder->destFile = nullptr;
        }
    } unbind{this};
    cancelled = 0;
    sourceFile = &source;
    destFile = &destination;
    Decode(storedSize, decodedSize);
}

CStoredCoder::CStoredCoder() : copyBuffer(new unsigned char[kBufferSize]) {}

void CStoredCoder::Decode(std::uint32_t storedSize, std::uint32_t) {
    // A stored member's length is its stored size; the decoded size is not used.
    std::uint32_t remaining = storedSize;
    while (remaining != 0) {
        std::uint32_t r = ReadBlock(copyBuffer.get(), std::min(remaining, kBufferSize));
        if (r == 0)
            throw CFileException(CFileException::endOfFile, -1);
        WriteBlock(copyBuffer.get(), r);
        remaining -= r;
    }
}

void CheckZLibResult(int result) {
    switch (result) {
    case Z_OK:
    case Z_STREAM_END:
        return;
    case Z_ERRNO: {
        int error = errno;
        if (error != 0)
            CFileException::ThrowErrno(error);
        return;
    }
    case Z_STREAM_ERROR: throw CZLibException(2);
    case Z_DATA_ERROR: throw CZLibException(3);
    case Z_MEM_ERROR: throw CMemoryException();
    case Z_BUF_ERROR: throw CZLibException(4);
    default: throw CZLibException(1);
    }
}

struct CZLibCoder::Stream {
    z_stream z{};
};

CZLibCoder::CZLibCoder()
    : stream(new Stream), input(new unsigned char[kInputSize]), output(new unsigned char[kOutputSize]) {}

CZLibCoder::~CZLibCoder() = default;

void CZLibCoder::Decode(std::uint32_t storedSize, std::uint32_t decodedSize) {
    z_stream& z = stream->z;
    z = z_stream{};
    z.zalloc = Z_NULL;
    z.zfree = Z_NULL;
    z.opaque = this;
    CheckZLibResult(inflateInit(&z));
    // inflateEnd also runs when a check below throws, or zlib's window leaks.
    struct EndGuard {
        z_stream* z;
        ~EndGuard() {
            if (z)
                inflateEnd(z);
        }
    } guard{&z};

    z.next_in = input.get();
    z.avail_in = 0;
    z.total_in = 0;
    z.next_out = output.get();
    z.avail_out = kOutputSize;
    z.total_out = 0;
    // Stored bytes handed to zlib so far: total_in plus what it has not
    // taken yet, never more than storedSize.
    std::uint32_t fed = 0;
    while (z.total_out != decodedSize) {
        if (z.avail_in == 0) {
            std::uint32_t n = std::min(storedSize - fed, kInputSize);
            std::uint32_t r = n ? ReadBlock(input.get(), n) : 0;
            fed += r;
            z.next_in = input.get();
            z.avail_in = r;
        }
        if (z.avail_out == 0) {
            WriteBlock(output.get(), kOutputSize);
            z.next_out = output.get();
            z.avail_out = kOutputSize;
        }
        int result = inflate(&z, Z_NO_FLUSH);
        if (result == Z_STREAM_END)
            break;
        CheckZLibResult(result);
    }
    WriteBlock(output.get(), kOutputSize - z.avail_out);
    guard.z = nullptr;
    CheckZLibResult(inflateEnd(&z));
}
