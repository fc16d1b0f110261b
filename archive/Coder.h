#pragma once
// The member decoders. A coder moves one member's stored bytes from the
// archive's tracked read into the output's tracked write, so progress ticks,
// volume continuation and the member checksum all happen underneath it.
// Method 2 is CStoredCoder (a copy), method 4 CZLibCoder (zlib inflate).
// Portable.

#include <cstdint>
#include <memory>

class CTrackedFile;

class CCoder {
public:
    CCoder() = default;
    virtual ~CCoder() = default;
    CCoder(const CCoder&) = delete;
    CCoder& operator=(const CCoder&) = delete;

    // Marks the decode cancelled; decoding goes on to the member's end and
    // the extraction acts on the flag afterwards.
    virtual void Cancel() { cancelled = 1; }
    // One byte from the source, or -1 when it has none.
    virtual int ReadByte();
    virtual std::uint32_t ReadBlock(void* buffer, std::uint32_t n);
    virtual void WriteByte(unsigned char b);
    virtual void WriteBlock(const void* buffer, std::uint32_t n);
    // The compressing direction is not provided by Setup's coders: both
    // raise CNotSupportedException.
    virtual void Encode();
    virtual void EncodeStream(CTrackedFile& source, CTrackedFile& destination);
    // The coder's own decoding of one member from sourceFile into destFile.
    virtual void Decode(std::uint32_t storedSize, std::uint32_t decodedSize) = 0;
    // Clears the cancel flag, binds the files for one Decode and unbinds
    // them again, also when Decode throws.
    virtual void DecodeStream(CTrackedFile& source, CTrackedFile& destination, std::uint32_t storedSize,
                              std::uint32_t decodedSize);

    CTrackedFile* sourceFile = nullptr;
    CTrackedFile* destFile = nullptr;
    std::int32_t cancelled = 0;
};

// Method 2: copies storedSize bytes through a 16384-byte buffer. A source
// that ends early raises CFileException end-of-file after writing what came.
class CStoredCoder : public CCoder {
public:
    static constexpr std::uint32_t kBufferSize = 16384;
    CStoredCoder();
    void Decode(std::uint32_t storedSize, std::uint32_t decodedSize) override;

private:
    std::unique_ptr<unsigned char[]> copyBuffer;
};

// Method 4: zlib inflate (zlib header, 15-bit window) with 4096-byte input
// and output buffers. Stops once decodedSize bytes are out or the stream
// ends; never asks the source for more than storedSize bytes. Damaged data
// raises CZLibException (see CheckZLibResult).
class CZLibCoder : public CCoder {
public:
    static constexpr std::uint32_t kInputSize = 4096;
    static constexpr std::uint32_t kOutputSize = 4096;
    CZLibCoder();
    ~CZLibCoder() override;
    void Decode(std::uint32_t storedSize, std::uint32_t decodedSize) override;

private:
    struct Stream;
    std::unique_ptr<Stream> stream;
    std::unique_ptr<unsigned char[]> input;
    std::unique_ptr<unsigned char[]> output;
};

// Maps a zlib result: Z_OK and Z_STREAM_END pass; Z_ERRNO raises the
// CFileException of the current errno (nothing when errno is 0);
// Z_STREAM_ERROR, Z_DATA_ERROR, Z_BUF_ERROR raise CZLibException causes 2,
// 3, 4; Z_MEM_ERROR raises CMemoryException; anything else cause 1.
void CheckZLibResult(int result);
