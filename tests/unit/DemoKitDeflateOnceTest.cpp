// The kit builder's single deflate pass: volumes byte for byte those the
// archive writer makes when it deflates members itself, at every volume
// size; and SETUP.EXE on DISK01 doubling as the copy Setup installs.

#include <gtest/gtest.h>

#include <filesystem>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/DeflateOnce.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;
namespace fs = std::filesystem;

namespace {

struct Written {
    std::vector<Bytes> volumes;
    std::vector<MemberPlacement> placements;
};

// The writer on its own: deflate decided by a trial deflate, then done
// again by the writer.
Written Reference(std::vector<MemberSource> members, std::uint64_t capacity) {
    MemoryVolumeOutput out(capacity);
    CMultiFileWriter writer(out);
    for (MemberSource& m : members) {
        if (m.method == ArchiveFormat::kMethodDeflated && DeflateMember(m.data, m.level).size() >= m.data.size())
            m.method = ArchiveFormat::kMethodStored;
        writer.AddMember(m);
    }
    writer.Finish();
    return {out.volumes, writer.Placements()};
}

struct Once {
    Written written;
    std::vector<std::uint32_t> decodedSizes;
    std::vector<std::int32_t> methods;
};

Once DeflatedOnce(std::vector<MemberSource> members, std::uint64_t capacity) {
    MemoryVolumeOutput out(capacity);
    DeflateOnceOutput once(out, &DeflateMember);
    CMultiFileWriter writer(once);
    for (MemberSource& m : members)
        writer.AddMember(once.Prepare(std::move(m)));
    writer.Finish();
    Once result{{out.volumes, writer.Placements()}, {}, {}};
    for (std::size_t k = 0; k < writer.Placements().size(); ++k) {
        result.decodedSizes.push_back(once.DecodedSize(k));
        result.methods.push_back(once.Method(k));
    }
    return result;
}

}  // namespace

TEST(DemoKitDeflateOnce, VolumesMatchTheWritersOwnDeflateAtEverySize) {
    // Compressible, incompressible (asked for deflate, stored), empty, tiny,
    // explicitly stored, and one without a checksum, in changing orders.
    MemberSource noChecksum = Member("NOSUM.TXT", Payload(4000, 7));
    noChecksum.withChecksum = false;
    MemberSource level1 = Member("FAST.PDB", Payload(5000, 8));
    level1.level = 1;
    const std::vector<std::vector<MemberSource>> sets = {
        {Member("TYVIEW.EXE", Payload(9000, 1)), Member("NOISE.BIN", Payload(3000, 2, false)),
         Member("EMPTY.INI", {}), Member("A.TXT", Bytes{'a'}), Member("STORED.PDB", Payload(2000, 3), 2),
         noChecksum, level1},
        {Member("EMPTY.INI", {}), Member("EMPTY2.INI", {}), Member("B.PDB", Payload(6000, 4))},
        {Member("NOISE.BIN", Payload(7000, 5, false)), Member("TEXT.TXT", Payload(7000, 6))},
    };
    const std::uint64_t lead = ArchiveFormat::kLeadHeaderSize, header = ArchiveFormat::kEntryHeaderSize;
    int compared = 0;
    for (std::size_t s = 0; s < sets.size(); ++s) {
        // Small volumes split members (and their headers' neighbours) at
        // many places; the largest holds everything in one.
        for (std::uint64_t capacity : {lead + 2 * header + 1, lead + 2 * header + 97, std::uint64_t(1500),
                                       std::uint64_t(4096), std::uint64_t(UINT64_MAX)}) {
            SCOPED_TRACE("set " + std::to_string(s) + ", capacity " + std::to_string(capacity));
            Written expected;
            try {
                expected = Reference(sets[s], capacity);
            } catch (const ArchiveWriteError&) {
                // Volumes too small for the writer are too small either way.
                EXPECT_THROW(DeflatedOnce(sets[s], capacity), ArchiveWriteError);
                continue;
            }
            Once got = DeflatedOnce(sets[s], capacity);
            ++compared;
            ASSERT_EQ(got.written.volumes.size(), expected.volumes.size());
            for (std::size_t v = 0; v < expected.volumes.size(); ++v)
                EXPECT_TRUE(got.written.volumes[v] == expected.volumes[v]) << "volume " << v + 1;
            ASSERT_EQ(got.written.placements.size(), expected.placements.size());
            for (std::size_t k = 0; k < expected.placements.size(); ++k) {
                const MemberPlacement& e = expected.placements[k];
                const MemberPlacement& g = got.written.placements[k];
                EXPECT_EQ(g.firstVolume, e.firstVolume) << e.name;
                EXPECT_EQ(g.lastVolume, e.lastVolume) << e.name;
                EXPECT_EQ(g.storedSize, e.storedSize) << e.name;
                EXPECT_EQ(got.decodedSizes[k], e.decodedSize) << e.name;
            }
        }
    }
    EXPECT_GE(compared, 12);
    Once first = DeflatedOnce(sets[0], UINT64_MAX);
    EXPECT_EQ(first.methods, (std::vector<std::int32_t>{4, 2, 2, 2, 2, 4, 4}));
}

TEST(DemoKitDeflateOnce, KitReadsBackAndVerifiesClean) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    std::map<std::string, Bytes> files = {{"TYVIEWER.EXE", Payload(30000, 21)},
                                          {"TYSHARED.DLL", Payload(12000, 22, false)},
                                          {"README.TXT", Payload(4000, 23)}};
    for (const auto& [name, data] : files)
        WriteFile(JoinPath(src, name), data);
    std::string text =
        "[kit]\ndisk_size = 8000\nprofile_reserve = 1000\n"
        "[destinations]\n0 = TYVIEWER|-1|\n"
        "[groups]\nViewer = Tessaly Viewer|Program|1|1|1\n"
        "[archive VIEWER.A1]\ncomponent = Viewer\n"
        "[file TYVIEWER.EXE]\nsource = src/TYVIEWER.EXE\narchive = VIEWER.A1\n"
        "[file TYSHARED.DLL]\nsource = src/TYSHARED.DLL\narchive = VIEWER.A1\ndestination = -3\n"
        "[file README.TXT]\nsource = src/README.TXT\narchive = VIEWER.A1\n";
    FakeFileStatus status;
    std::string out = scratch.Dir("kit");
    KitResult result = BuildKit(ParseKitDescription(text, scratch.path.string()), out, status);
    EXPECT_GE(result.diskettes, 2);
    EXPECT_EQ(VerifyKit(out).problems, std::vector<std::string>{});
    // The listing gives installed sizes, not the deflated ones.
    bool listed = false;
    for (const std::string& line : result.listing)
        listed = listed || line.find("VIEWER.A1: TYVIEWER.EXE 30000 -> ") != std::string::npos;
    EXPECT_TRUE(listed);
}

namespace {

const char* kSetupKit =
    "[kit]\ndisk_size = 20000\nprofile_reserve = 1000\nsetup_exe = src/SETUP.EXE\n"
    "[destinations]\n0 = TYVIEWER|-1|\n"
    "[groups]\nViewer = Tessaly Viewer|Program|1|1|1\n";

}  // namespace

TEST(DemoKitSetupCopy, SetupOnDisk01IsAlsoTheInstalledCopy) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    Bytes setup = Payload(10000, 31, false);
    WriteFile(JoinPath(src, "SETUP.EXE"), setup);
    WriteFile(JoinPath(src, "NOTE.TXT"), Payload(8000, 32, false));
    // Counted twice, SETUP.EXE would push NOTE.TXT onto DISK02.
    std::string text = std::string(kSetupKit) +
                       "[file NOTE.TXT]\nsource = src/NOTE.TXT\ncomponent = Viewer\n"
                       "[file SETUP.EXE]\ncomponent = Viewer\n";
    FakeFileStatus status;
    std::string out = scratch.Dir("kit");
    KitResult result = BuildKit(ParseKitDescription(text, scratch.path.string()), out, status);
    EXPECT_EQ(result.diskettes, 1);
    int setupLines = 0;
    for (const std::string& line : result.listing)
        setupLines += line.rfind("DISK01/SETUP.EXE ", 0) == 0;
    EXPECT_EQ(setupLines, 1);
    EXPECT_TRUE(ReadFile(JoinPath(JoinPath(out, "DISK01"), "SETUP.EXE")) == setup);
    EXPECT_NE(result.profileText.find("\r\nSETUP.EXE=10000|0|1|1|0|\r\n"), std::string::npos) << result.profileText;
    EXPECT_EQ(VerifyKit(out).problems, std::vector<std::string>{});

    // The same file named as its source is accepted too.
    std::string same = std::string(kSetupKit) + "[file SETUP.EXE]\nsource = src/SETUP.EXE\ncomponent = Viewer\n";
    EXPECT_NO_THROW(BuildKit(ParseKitDescription(same, scratch.path.string()), scratch.Dir("same"), status));
}

TEST(DemoKitSetupCopy, ClashesOnDisk01AreRefused) {
    ScratchDir scratch;
    std::string src = scratch.Dir("src");
    WriteFile(JoinPath(src, "SETUP.EXE"), Payload(1000, 41, false));
    WriteFile(JoinPath(src, "OTHER.EXE"), Payload(1000, 42, false));
    FakeFileStatus status;

    std::string differs = std::string(kSetupKit) + "[file SETUP.EXE]\nsource = src/OTHER.EXE\ncomponent = Viewer\n";
    std::string out = scratch.Dir("differs");
    try {
        BuildKit(ParseKitDescription(differs, scratch.path.string()), out, status);
        ADD_FAILURE() << "a second, different SETUP.EXE was accepted";
    } catch (const KitError& e) {
        EXPECT_NE(std::string(e.what()).find("differs from setup_exe"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(JoinPath(out, "DISK01")));

    struct Case {
        const char* label;
        std::string text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"profile name", std::string(kSetupKit) + "[file setup.INI]\nsource = src/OTHER.EXE\ncomponent = Viewer\n",
         "name of the install profile"},
        {"archive as Setup", std::string(kSetupKit) +
                                 "[archive SETUP.EXE]\ncomponent = Viewer\n"
                                 "[file A.EXE]\nsource = src/OTHER.EXE\narchive = SETUP.EXE\n",
         "take the place of setup_exe"},
        {"no setup_exe, no source", "[destinations]\n0 = X|-1|\n[groups]\nV = v|d|1|1|1\n[file SETUP.EXE]\ncomponent = V\n",
         "has no source"},
    };
    for (const Case& c : cases) {
        try {
            ParseKitDescription(c.text, scratch.path.string());
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const KitError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.label << ": " << e.what();
        }
    }
}
