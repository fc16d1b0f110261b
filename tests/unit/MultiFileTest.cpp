#include "archive/MultiFile.h"

#include <cstring>
#include <functional>

#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "archive/Coder.h"
#include "archive/MediaMultiFile.h"
#include "archive/MemberChecksum.h"
#include "archive/MultiFileWriter.h"
#include "errors/SetupException.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;

namespace {

// A volume image written by hand: lead header, then the given pieces.
Bytes Volume(std::initializer_list<Bytes> pieces) {
    Bytes v(ArchiveFormat::kLeadHeaderSize);
    ArchiveFormat::MakeLeadHeader(v.data(), 1);
    for (const Bytes& p : pieces)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

Bytes HeaderBytes(const EntryHeader& h) {
    return Bytes(h.Bytes(), h.Bytes() + ArchiveFormat::kEntryHeaderSize);
}

EntryHeader StoredHeader(const std::string& name, const Bytes& data, std::uint32_t checksum) {
    EntryHeader h;
    h.SetName(name);
    h.SetMethod(ArchiveFormat::kMethodStored);
    h.SetStoredSize(static_cast<std::uint32_t>(data.size()));
    h.SetDecodedSize(static_cast<std::uint32_t>(data.size()));
    h.SetChecksum(checksum);
    return h;
}

}  // namespace

TEST(MultiFileRoundTrip, SingleVolumeTable) {
    struct Case {
        const char* label;
        std::vector<MemberSource> members;
    };
    const std::vector<Case> cases = {
        {"no members", {}},
        {"one stored", {Member("A.TXT", Payload(1000, 1), 2)}},
        {"one deflated", {Member("A.PDB", Payload(50000, 2), 4)}},
        {"empty stored and deflated", {Member("E1", {}, 2), Member("E2", {}, 4), Member("X", Payload(10, 3), 4)}},
        {"mixed", {Member("TYVIEW.EXE", Payload(70000, 4, false), 4), Member("README.TXT", Payload(4096, 5), 2),
                   Member("T.DLL", Payload(4097, 6), 4), Member("LAST", Payload(1, 7), 2)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir scratch;
        Kit kit(scratch);
        std::string first = kit.Build(c.members, 1457664);
        EXPECT_EQ(kit.volumeCount, 1u);
        ExpectSame(c.members, kit.ExtractAll(first));
        EXPECT_TRUE(kit.locator.calls.empty());
    }
}

TEST(MultiFileRoundTrip, MembersSpanTwoAndThreeVolumes) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {
        Member("SMALL", Payload(300, 10), 2),
        Member("BIG.DAT", Payload(9000, 11, false), 2),   // larger than a whole volume
        Member("MID.DAT", Payload(3000, 12, false), 4),
        Member("EMPTY", {}, 2),
        Member("TAIL", Payload(5000, 13), 4),
    };
    std::string first = kit.Build(members, 4000);
    ASSERT_GE(kit.volumeCount, 3u);
    CountingSink sink;
    ExpectSame(members, kit.ExtractAll(first, &sink));
    // Every continuation asked for the next name on the next diskette.
    ASSERT_EQ(kit.locator.calls.size(), kit.volumeCount - 1);
    EXPECT_EQ(kit.locator.calls[0], "DATA.A2@2");
    EXPECT_EQ(kit.locator.calls[1], "DATA.A3@3");
    EXPECT_EQ(kit.lastDiskette, static_cast<int>(kit.volumeCount));
    EXPECT_GE(kit.placements[1].lastVolume - kit.placements[1].firstVolume, 2);
    EXPECT_GT(sink.ticks, 0);
}

TEST(MultiFileRoundTrip, ManyMembersAtLevel9AcrossVolumes) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members;
    for (int i = 0; i < 160; ++i) {
        std::size_t size = static_cast<std::size_t>((i * 7919) % 23000);
        if (i % 17 == 0)
            size = 0;
        MemberSource m = Member("M" + std::to_string(i) + ".DAT", Payload(size, 100 + i, i % 3 != 0), 4);
        m.level = 9;
        members.push_back(std::move(m));
    }
    std::string first = kit.Build(members, 300000);
    EXPECT_GT(kit.volumeCount, 3u);
    ExpectSame(members, kit.ExtractAll(first));
}

TEST(MultiFileRoundTrip, NotInstalledMembersArePassedOver) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {
        Member("KEEP1", Payload(5000, 20), 4),
        Member("SKIP.DAT", Payload(12000, 21, false), 4, -1),  // continues over two volumes
        Member("KEEP2", Payload(700, 22), 2),
        Member("SKIP2", Payload(100, 23), 2, -1),
        Member("KEEP3", Payload(9000, 24), 4),
    };
    std::string first = kit.Build(members, 6000);
    ASSERT_GE(kit.volumeCount, 3u);
    ExpectSame(members, kit.ExtractAll(first));
}

TEST(MultiFileRoundTrip, SkipMemberPassesOverExplicitly) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {Member("SKIP", Payload(8000, 30, false), 4, -1),
                                         Member("KEEP", Payload(100, 31), 2)};
    std::string first = kit.Build(members, 5000);
    CMediaMultiFile archive(&kit.locator, nullptr, 1);
    archive.OpenArchive(first);
    CMultiFileEntry entry(&kit.status);
    ASSERT_TRUE(archive.NextEntry(entry, false));
    archive.SkipMember(entry);
    ASSERT_TRUE(archive.NextEntry(entry, false));
    EXPECT_EQ(entry.memberName, "KEEP");
    entry.SetOutputPath(scratch.File("keep"));
    archive.Extract(entry);
    EXPECT_TRUE(ReadFile(scratch.File("keep")) == members[1].data);
    EXPECT_FALSE(archive.NextEntry(entry, false));
}

// Stored bytes whose size leaves only zlib's 4-byte trailer beyond the last
// 4096-byte input block: the decoded bytes are all out before the trailer
// has been read, and the decode loop stops there.
TEST(MultiFileTrailer, DeflatedMemberLeavesTrailerUnreadUnlessDrained) {
    Bytes data;
    Bytes stored;
    for (std::size_t n = 8000; n < 8400 && data.empty(); ++n) {
        Bytes candidate = Payload(n, 40, false);
        Bytes packed = DeflateMember(candidate, 9);
        if (packed.size() % 4096 >= 1 && packed.size() % 4096 <= 4) {
            data = candidate;
            stored = packed;
        }
    }
    ASSERT_FALSE(data.empty()) << "no payload size puts the trailer beyond a block";

    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {Member("FIRST", data, 4), Member("SECOND", Payload(50, 41), 2)};
    std::string first = kit.Build(members, 1457664);

    {
        // The coder alone stops short of the member's end...
        CMultiFile archive;
        archive.OpenArchive(first);
        CMultiFileEntry entry(&kit.status);
        ASSERT_TRUE(archive.NextEntry(entry, false));
        entry.SetOutputPath(scratch.File("raw"));
        entry.CreateOutput();
        CZLibCoder coder;
        coder.DecodeStream(archive, entry, entry.header.StoredSize(), entry.header.DecodedSize());
        EXPECT_LT(archive.readCount, entry.header.StoredSize());
        // ...so a header read from here lands inside the trailer.
        CMultiFileEntry next(&kit.status);
        EXPECT_THROW(next.ReadHeader(archive), CMultiFileException);
    }
    // Extract reads the rest, and the next header is found.
    ExpectSame(members, kit.ExtractAll(first));
}

TEST(MultiFileStructure, LeadHeaderOnlyAndTruncatedHeader) {
    ScratchDir scratch;
    Kit kit(scratch);
    EXPECT_TRUE(kit.ExtractAll(kit.Store({Volume({})})).empty());

    ScratchDir scratch2;
    Kit kit2(scratch2);
    EntryHeader h = StoredHeader("X", Payload(10, 1), 0);
    Bytes partial(h.Bytes(), h.Bytes() + 200);
    EXPECT_TRUE(kit2.ExtractAll(kit2.Store({Volume({partial})})).empty());
}

TEST(MultiFileStructure, ContinuedMemberEndingAtVolumeEndNeverOpensNext) {
    ScratchDir scratch;
    Kit kit(scratch);
    Bytes data = Payload(100, 2);
    EntryHeader h = StoredHeader("C", data, 0);
    h.SetContinued(1);
    Bytes second = Volume({HeaderBytes(StoredHeader("NEVER", data, 0)), data});
    std::string first = kit.Store({Volume({HeaderBytes(h), data}), second});
    auto got = kit.ExtractAll(first);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_TRUE(got[0].data == data);
    EXPECT_TRUE(kit.locator.calls.empty());
}

TEST(MultiFileErrors, EveryReaderCauseFromDamagedVolumes) {
    Bytes data = Payload(3000, 3);
    std::uint32_t good = UpdateMemberChecksum(0, data.data(), data.size());
    struct Case {
        const char* label;
        std::function<Bytes()> volume;
        int cause;
    };
    const std::vector<Case> cases = {
        {"unknown method 3",
         [&] {
             EntryHeader h = StoredHeader("M3", data, good);
             h.SetMethod(3);
             return Volume({HeaderBytes(h), data});
         },
         CMultiFileException::unknownMethod},
        {"lead magic", [&] {
             Bytes v = Volume({HeaderBytes(StoredHeader("A", data, good)), data});
             v[0] = 'M';
             return v;
         },
         CMultiFileException::notArchive},
        {"entry magic", [&] {
             EntryHeader h = StoredHeader("A", data, good);
             h.Bytes()[3] = 'x';
             return Volume({HeaderBytes(h), data});
         },
         CMultiFileException::missingEntry},
        {"checksum", [&] {
             Bytes damaged = data;
             damaged[1234] ^= 0x40;
             return Volume({HeaderBytes(StoredHeader("A", damaged, good)), damaged});
         },
         CMultiFileException::crcMismatch},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir scratch;
        Kit kit(scratch);
        std::string first = kit.Store({c.volume()});
        try {
            kit.ExtractAll(first);
            ADD_FAILURE() << "no exception";
        } catch (const CMultiFileException& e) {
            EXPECT_EQ(e.cause, c.cause);
            EXPECT_STREQ(e.GetRuntimeClass()->className, "CMultiFileException");
        }
        if (c.cause == CMultiFileException::unknownMethod) {
            // The output was created before the method was looked at.
            EXPECT_TRUE(std::filesystem::exists(scratch.File("out0")));
            EXPECT_EQ(std::filesystem::file_size(scratch.File("out0")), 0u);
        }
        if (c.cause == CMultiFileException::crcMismatch) {
            // The closed output stays, with its time and attributes applied.
            EXPECT_EQ(std::filesystem::file_size(scratch.File("out0")), data.size());
            EXPECT_EQ(kit.status.applied.count(scratch.File("out0")), 1u);
        }
    }
}

TEST(MultiFileErrors, ShortLeadHeaderIsEndOfFile) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::string first = kit.Store({Bytes{'m', 'f', 'l'}});
    try {
        kit.ExtractAll(first);
        FAIL();
    } catch (const CMultiFileException&) {
        FAIL() << "wrong class";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::endOfFile);
        EXPECT_EQ(e.osError, -1);
        EXPECT_TRUE(e.fileName.empty());
    }
}

TEST(MultiFileErrors, ChecksumZeroIsNeverChecked) {
    ScratchDir scratch;
    Kit kit(scratch);
    Bytes data = Payload(500, 4);
    std::string first = kit.Store({Volume({HeaderBytes(StoredHeader("Z", data, 0)), data})});
    EXPECT_EQ(kit.ExtractAll(first).size(), 1u);
}

TEST(MultiFileErrors, TruncatedMembers) {
    // Deflated bytes cut short: zlib cannot go on, buffer error (cause 4).
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {Member("D", Payload(20000, 5, false), 4)};
    MemoryVolumeOutput out;
    CMultiFileWriter writer(out);
    writer.AddMember(members[0]);
    writer.Finish();
    Bytes v = out.volumes[0];
    v.resize(v.size() - 3000);
    std::string first = kit.Store({v});
    try {
        kit.ExtractAll(first);
        FAIL();
    } catch (const CZLibException& e) {
        EXPECT_EQ(e.cause, 4);
    }

    // Stored bytes cut short: end of file, after writing what was there.
    ScratchDir scratch2;
    Kit kit2(scratch2);
    Bytes data = Payload(5000, 6);
    Bytes cut(data.begin(), data.begin() + 1200);
    std::string first2 = kit2.Store({Volume({HeaderBytes(StoredHeader("S", data, 0)), cut})});
    try {
        kit2.ExtractAll(first2);
        FAIL();
    } catch (const CFileException& e) {
        EXPECT_EQ(e.cause, CFileException::endOfFile);
    }
    EXPECT_EQ(std::filesystem::file_size(scratch2.File("out0")), 1200u);
}

TEST(MultiFileContinuation, LocatorGivingUpCancels) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::string first = kit.Build({Member("BIG", Payload(10000, 7, false), 2)}, 4000);
    kit.locator.diskDirs.erase(2);
    EXPECT_THROW(kit.ExtractAll(first), CUserException);
    ASSERT_EQ(kit.locator.calls.size(), 1u);
    EXPECT_EQ(kit.locator.calls[0], "DATA.A2@2");
}

TEST(MultiFileContinuation, AbortFinishesTheMemberThenCancels) {
    ScratchDir scratch;
    Kit kit(scratch);
    std::vector<MemberSource> members = {Member("BIG", Payload(30000, 8, false), 4)};
    std::string first = kit.Build(members, 1457664);
    CMediaMultiFile* running = nullptr;
    struct AbortingSink : ProgressSink {
        CMediaMultiFile** archive;
        int ticks = 0;
        void OnProgress() override {
            if (++ticks == 1)
                (*archive)->Abort();
        }
    } sink;
    sink.archive = &running;
    CMediaMultiFile archive(&kit.locator, &sink, 1);
    running = &archive;
    archive.OpenArchive(first);
    CMultiFileEntry entry(&kit.status);
    ASSERT_TRUE(archive.NextEntry(entry, false));
    entry.SetOutputPath(scratch.File("big"));
    EXPECT_THROW(archive.Extract(entry), CUserException);
    EXPECT_TRUE(archive.IsOpen());  // Abort with a coder running does not close
    EXPECT_GT(sink.ticks, 1);       // decoding went on after the cancel
    EXPECT_TRUE(ReadFile(scratch.File("big")) == members[0].data);
    EXPECT_EQ(kit.status.applied.count(scratch.File("big")), 1u);
}

TEST(MultiFileEntryStatus, ApplyHeaderStatusAndFillFromFile) {
    ScratchDir scratch;
    FakeFileStatus status;
    CMultiFileEntry entry(&status);
    entry.SetOutputPath(scratch.File("o"));
    WriteFile(scratch.File("o"), Payload(10, 1));
    entry.header.SetModTime(820454400);
    entry.header.SetAttributes(0x1321);  // only the low byte counts
    entry.ApplyHeaderStatus();
    const FileStatus& set = status.applied.at(scratch.File("o"));
    EXPECT_EQ(set.modTime, 820454400);
    EXPECT_EQ(set.attributes, 0x21);
    EXPECT_EQ(set.accessTime, 2000);  // kept from the status just read

    entry.header.SetModTime(0);
    entry.ApplyHeaderStatus();
    EXPECT_EQ(status.applied.at(scratch.File("o")).modTime, 0);

    entry.memberName = scratch.File("o");
    entry.FillFromFile();
    EXPECT_EQ(entry.header.ModTime(), 1000);
    EXPECT_EQ(entry.header.Attributes(), FileAttribute::archive);
    EXPECT_EQ(entry.header.DecodedSize(), 10u);

    CMultiFileEntry withoutPlatform;
    withoutPlatform.SetOutputPath(scratch.File("o"));
    if (!GetDefaultFileStatusPlatform()) {
        EXPECT_THROW(withoutPlatform.ApplyHeaderStatus(), CNotSupportedException);
    }
}

TEST(MultiFileEntryHeader, NameAndExtraWithoutNulAreBounded) {
    ScratchDir scratch;
    Kit kit(scratch);
    EntryHeader h = StoredHeader("", {}, 0);
    std::memset(h.Bytes() + ArchiveFormat::kNameOffset, 'N', ArchiveFormat::kNameWidth);
    std::memset(h.Bytes() + ArchiveFormat::kExtraOffset, 'E', ArchiveFormat::kExtraWidth);
    std::string first = kit.Store({Volume({HeaderBytes(h)})});
    CMultiFile archive;
    archive.OpenArchive(first);
    CMultiFileEntry entry(&kit.status);
    ASSERT_TRUE(archive.NextEntry(entry, false));
    EXPECT_EQ(entry.memberName, std::string(260, 'N'));
    EXPECT_EQ(entry.memberExtra, std::string(40, 'E'));
    EXPECT_EQ(entry.offset, 8u + 346u);

    entry.SetOutputPath(std::string(400, 'p'));
    EXPECT_EQ(entry.GetOutputPath().size(), 259u);
}

TEST(MultiFileEntryHeader, NewEntryAndFactory) {
    CMultiFileEntry entry;
    EXPECT_TRUE(entry.header.HasMagic());
    EXPECT_EQ(entry.header.Version(), 1);
    EXPECT_EQ(entry.header.HeaderSize(), 346);
    EXPECT_EQ(entry.header.Continued(), 0);
    CMultiFile archive;
    EXPECT_EQ(archive.blockSize, 4096u);
    EXPECT_NE(dynamic_cast<CStoredCoder*>(archive.CreateCoder(2, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CZLibCoder*>(archive.CreateCoder(4, 77).get()), nullptr);
    for (int method : {0, 1, 3, 5, -1})
        EXPECT_EQ(archive.CreateCoder(method, 0), nullptr) << method;
}

TEST(MultiFileSingleFile, ExtractedWithHeaderBuiltInMemory) {
    // A single file on the media is read with OpenRead and a stored header.
    ScratchDir scratch;
    Bytes data = Payload(10000, 9);
    WriteFile(scratch.File("TYVIEW.HLP"), data);
    FakeFileStatus status;
    CMultiFile source;
    source.OpenRead(scratch.File("TYVIEW.HLP"), true);
    CMultiFileEntry entry(&status);
    entry.memberName = scratch.File("TYVIEW.HLP");
    entry.header.SetMethod(2);
    entry.header.SetStoredSize(static_cast<std::uint32_t>(data.size()));
    entry.FillFromFile();
    entry.SetOutputPath(scratch.File("copy"));
    source.Extract(entry);
    EXPECT_TRUE(ReadFile(scratch.File("copy")) == data);
    EXPECT_EQ(source.readCount, data.size());
}
