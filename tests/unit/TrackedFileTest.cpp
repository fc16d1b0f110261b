#include "archive/TrackedFile.h"

#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "archive/MemberChecksum.h"

using namespace archive_test;

namespace {

struct Probe : CTrackedFile {
    int boundaries = 0;
    int limits = 0;
    void OnBlockBoundary() override { ++boundaries; }
    bool AtLimit() override {
        ++limits;
        return true;
    }
};

}  // namespace

TEST(TrackedFile, ReadCountsChecksumsAndSignalsBlocks) {
    ScratchDir scratch;
    Bytes data = Payload(10000, 1);
    WriteFile(scratch.File("f"), data);
    Probe f;
    f.blockSize = 4096;
    f.OpenRead(scratch.File("f"), true);
    Bytes got(10000);
    EXPECT_EQ(f.Read(got.data(), 3000), 3000u);
    EXPECT_EQ(f.boundaries, 0);
    EXPECT_EQ(f.Read(got.data() + 3000, 3000), 3000u);  // crosses 4096
    EXPECT_EQ(f.boundaries, 1);
    EXPECT_EQ(f.Read(got.data() + 6000, 6000), 4000u);  // crosses 8192, then runs short
    EXPECT_EQ(f.boundaries, 2);
    EXPECT_EQ(f.limits, 1);
    EXPECT_TRUE(got == data);
    EXPECT_EQ(f.readCount, 10000u);
    EXPECT_EQ(f.checksum, UpdateMemberChecksum(0, data.data(), data.size()));

    // Raw reads are not counted.
    f.Seek(0, CGuardedFile::begin);
    EXPECT_EQ(f.RawRead(got.data(), 100), 100u);
    EXPECT_EQ(f.readCount, 10000u);
}

TEST(TrackedFile, ReadStopsAtTheLimit) {
    ScratchDir scratch;
    WriteFile(scratch.File("f"), Payload(1000, 2));
    Probe f;
    f.limit = 100;
    f.OpenRead(scratch.File("f"), true);
    Bytes got(500);
    EXPECT_EQ(f.Read(got.data(), 500), 100u);
    EXPECT_EQ(f.limits, 1);
    EXPECT_EQ(f.Read(got.data(), 10), 0u);
}

TEST(TrackedFile, WriteChecksumsCountsAndFailsPastTheLimit) {
    ScratchDir scratch;
    Probe f;
    f.OpenWrite(scratch.File("w"), true);
    f.Write("abc", 3);
    EXPECT_EQ(f.checksum, 0x3E105F31u);
    EXPECT_EQ(f.writeCount, 3u);
    f.limit = 5;
    try {
        f.Write("defgh", 5);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::diskFull);
    }
    EXPECT_EQ(f.writeCount, 5u);  // what fitted was written
    f.Close();
    EXPECT_EQ(ReadFile(scratch.File("w")), (Bytes{'a', 'b', 'c', 'd', 'e'}));
}

TEST(GuardedFile, OpenFailuresCarryCauseAndName) {
    ScratchDir scratch;
    CGuardedFile f;
    std::string missing = scratch.File("missing.a1");
    try {
        f.OpenRead(missing, true);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::fileNotFound);
        EXPECT_EQ(e.fileName, missing);
    }
    EXPECT_FALSE(f.IsOpen());
    Bytes b(4);
    EXPECT_EQ(f.Read(b.data(), 4), 0u);  // a closed file delivers nothing
    WriteFile(scratch.File("two"), Bytes{1, 2});
    f.OpenRead(scratch.File("two"), true);
    EXPECT_EQ(f.GetOpenedName(), scratch.File("two"));
    try {
        f.ReadExact(b.data(), 4);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::endOfFile);
    }
}

#ifndef _WIN32
TEST(GuardedFile, FullDiskIsDiskFullWithoutName) {
    CGuardedFile f;
    f.OpenWrite("/dev/full", true);
    Bytes data(10000, 1);
    try {
        f.Write(data.data(), static_cast<std::uint32_t>(data.size()));
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::diskFull);
        EXPECT_EQ(e.osError, -1);
        EXPECT_TRUE(e.fileName.empty());
    }
}
#endif
