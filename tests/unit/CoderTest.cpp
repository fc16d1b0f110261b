#include "archive/Coder.h"

#include <cerrno>

#include <gtest/gtest.h>
#include <zlib.h>

#include "ArchiveTestSupport.h"
#include "archive/TrackedFile.h"
#include "errors/SetupException.h"

using namespace archive_test;

namespace {

// Decodes stored bytes (written to a file) into another file.
struct CoderRun {
    explicit CoderRun(const Bytes& stored) {
        WriteFile(scratch.File("in"), stored);
        source.OpenRead(scratch.File("in"), true);
        dest.OpenWrite(scratch.File("out"), true);
    }
    Bytes Output() {
        dest.Close();
        return ReadFile(scratch.File("out"));
    }
    ScratchDir scratch;
    CTrackedFile source;
    CTrackedFile dest;
};

int ZLibCause(const Bytes& stored, std::uint32_t decodedSize) {
    CoderRun run(stored);
    CZLibCoder coder;
    try {
        coder.DecodeStream(run.source, run.dest, static_cast<std::uint32_t>(stored.size()), decodedSize);
    } catch (const CZLibException& e) {
        return e.cause;
    }
    return 0;
}

}  // namespace

TEST(ZLibResultCheck, EveryResultMapsAsDocumented) {
    EXPECT_NO_THROW(CheckZLibResult(Z_OK));
    EXPECT_NO_THROW(CheckZLibResult(Z_STREAM_END));
    struct Case {
        int result;
        int cause;
    };
    const Case cases[] = {{Z_STREAM_ERROR, 2}, {Z_DATA_ERROR, 3}, {Z_BUF_ERROR, 4},
                          {Z_NEED_DICT, 1},    {Z_VERSION_ERROR, 1}, {7, 1}};
    for (const Case& c : cases) {
        try {
            CheckZLibResult(c.result);
            ADD_FAILURE() << c.result;
        } catch (const CZLibException& e) {
            EXPECT_EQ(e.cause, c.cause) << c.result;
        }
    }
    EXPECT_THROW(CheckZLibResult(Z_MEM_ERROR), CMemoryException);
    errno = ENOSPC;
    try {
        CheckZLibResult(Z_ERRNO);
        ADD_FAILURE();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::diskFull);
        EXPECT_TRUE(e.fileName.empty());
    }
    errno = 0;
    EXPECT_NO_THROW(CheckZLibResult(Z_ERRNO));
}

TEST(ZLibCoder, DamagedStreamsRaiseTheirCause) {
    Bytes good = DeflateMember(Payload(20000, 1), 6);
    Bytes wrongMethod = good;
    wrongMethod[0] = 0x77;  // method 7; header check kept valid below
    wrongMethod[1] = static_cast<unsigned char>(31 - (0x77 * 256 + (wrongMethod[1] & 0xE0)) % 31 + (wrongMethod[1] & 0xE0));
    Bytes cut(good.begin(), good.begin() + good.size() / 2);
    Bytes dictionary = {0x78, 0xBB, 0, 0, 0, 1, 0x63, 0, 0};  // asks for a preset dictionary
    Bytes badBlock = good;
    badBlock[2] = 0xFF;  // reserved block type
    struct Case {
        const char* label;
        Bytes stored;
        int cause;
    };
    const Case cases[] = {{"good", good, 0},
                          {"method not 8", wrongMethod, 3},
                          {"cut short", cut, 4},
                          {"needs dictionary", dictionary, 1},
                          {"invalid block", badBlock, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(ZLibCause(c.stored, 20000), c.cause) << c.label;
}

TEST(ZLibCoder, OutputInWholeBlocksAndZeroSize) {
    Bytes data = Payload(10000, 2);
    CoderRun run(DeflateMember(data, 9));
    struct Counting : CTrackedFile {
        std::vector<std::uint32_t> writes;
        void Write(const void* b, std::uint32_t n) override {
            writes.push_back(n);
            CTrackedFile::Write(b, n);
        }
    } dest;
    dest.OpenWrite(run.scratch.File("counted"), true);
    CZLibCoder coder;
    coder.DecodeStream(run.source, dest, static_cast<std::uint32_t>(DeflateMember(data, 9).size()), 10000);
    EXPECT_EQ(dest.writes, (std::vector<std::uint32_t>{4096, 4096, 1808}));
    EXPECT_EQ(coder.sourceFile, nullptr);
    EXPECT_EQ(coder.destFile, nullptr);

    // decodedSize 0: nothing is read, one empty write.
    CoderRun empty(DeflateMember({}, 9));
    CZLibCoder zero;
    zero.DecodeStream(empty.source, empty.dest, 8, 0);
    EXPECT_EQ(empty.source.readCount, 0u);
    EXPECT_TRUE(empty.Output().empty());
}

TEST(StoredCoder, CopiesAndReportsEarlyEnd) {
    Bytes data = Payload(40000, 3, false);
    CoderRun run(data);
    CStoredCoder coder;
    coder.DecodeStream(run.source, run.dest, 40000, 0);  // decoded size is ignored
    EXPECT_TRUE(run.Output() == data);

    CoderRun none(Bytes{});
    CStoredCoder zero;
    zero.DecodeStream(none.source, none.dest, 0, 0);
    EXPECT_TRUE(none.Output().empty());

    CoderRun shortRun(Bytes(100, 7));
    CStoredCoder early;
    try {
        early.DecodeStream(shortRun.source, shortRun.dest, 500, 500);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::endOfFile);
        EXPECT_EQ(e.osError, -1);
    }
    EXPECT_EQ(shortRun.Output().size(), 100u);
    EXPECT_EQ(early.sourceFile, nullptr);  // unbound also after a throw
}

TEST(Coder, CancelIsClearedByTheNextDecodeAndEncodeIsNotProvided) {
    CoderRun run(Bytes(10, 1));
    CStoredCoder coder;
    coder.Cancel();
    EXPECT_EQ(coder.cancelled, 1);
    coder.DecodeStream(run.source, run.dest, 10, 10);
    EXPECT_EQ(coder.cancelled, 0);
    EXPECT_THROW(coder.Encode(), CNotSupportedException);
}
