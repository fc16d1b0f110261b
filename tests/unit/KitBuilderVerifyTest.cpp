// The kit builder end to end: kits read back by Setup's reader member for
// member at the volume boundaries that matter, reproducible output, and the
// verify command finding damage and naming where it is.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDeflate.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kReserve = 2000;
constexpr std::uint64_t kHeader = ArchiveFormat::kEntryHeaderSize;
constexpr std::uint64_t kLead = ArchiveFormat::kLeadHeaderSize;

std::string DiskDir(const std::string& kit, int d) {
    char name[16];
    std::snprintf(name, sizeof name, "DISK%02d", d);
    return JoinPath(kit, name);
}

// Sources: an incompressible file (stored even though deflate is asked), a
// compressible one (deflated), an empty one, and another incompressible one.
struct Sources {
    explicit Sources(const ScratchDir& scratch) {
        std::string dir = scratch.Dir("src");
        for (const auto& [name, data] : files)
            WriteFile(JoinPath(dir, name), data);
        deflatedB = KitDeflate(files.at("B.PDB"), kKitDefaultLevel).size();
    }
    std::map<std::string, Bytes> files = {{"A.EXE", Payload(3000, 11, false)},
                                          {"B.PDB", Payload(6000, 12)},
                                          {"E.INI", {}},
                                          {"C.DLL", Payload(1500, 13, false)}};
    std::uint64_t deflatedB = 0;
};

std::string Description(std::uint64_t diskSize, const std::string& extra = {}) {
    return "[kit]\ndisk_size = " + std::to_string(diskSize) + "\nprofile_reserve = " + std::to_string(kReserve) +
           "\n[destinations]\n0 = TVIEWER|-1|\n1 = SAMPLES|0|\n"
           "[groups]\nViewer = Tessaly Viewer|Program files|1|1|1\n"
           "[archive DATA.A1]\ncomponent = Viewer\n"
           "[file A.EXE]\nsource = src/A.EXE\narchive = DATA.A1\n"
           "[file B.PDB]\nsource = src/B.PDB\narchive = DATA.A1\ndestination = 1\n"
           "[file E.INI]\nsource = src/E.INI\narchive = DATA.A1\n"
           "[file C.DLL]\nsource = src/C.DLL\narchive = DATA.A1\n"
           "[file README.TXT]\nsource = src/C.DLL\ncomponent = Viewer\n" +
           extra;
}

KitResult Build(const ScratchDir& scratch, const std::string& text, const std::string& out) {
    FakeFileStatus status;
    return BuildKit(ParseKitDescription(text, scratch.path.string()), out, status);
}

// Installs DATA.A1 from the kit the way Setup does, diskette by diskette.
std::map<std::string, std::pair<Bytes, std::int32_t>> Install(const ScratchDir& scratch, const std::string& kit,
                                                              int diskettes) {
    FakeLocator locator;
    for (int d = 1; d <= diskettes; ++d)
        locator.diskDirs[d] = DiskDir(kit, d);
    locator.current = locator.diskDirs[1];
    FakeFileStatus status;
    CMediaMultiFile archive(&locator, nullptr, 1);
    archive.OpenArchive(JoinPath(locator.current, "DATA.A1"));
    CMultiFileEntry entry(&status);
    std::map<std::string, std::pair<Bytes, std::int32_t>> out;
    while (archive.NextEntry(entry, false)) {
        entry.SetOutputPath(scratch.File("installed_" + entry.memberName));
        archive.Extract(entry);
        out[entry.memberName] = {ReadFile(entry.GetOutputPath()), entry.header.Method()};
    }
    return out;
}

std::vector<std::string> Problems(const std::string& kit) {
    return VerifyKit(kit).problems;
}

bool AnyContains(const std::vector<std::string>& lines, const std::vector<std::string>& parts) {
    for (const std::string& line : lines) {
        bool all = true;
        for (const std::string& p : parts)
            all = all && line.find(p) != std::string::npos;
        if (all)
            return true;
    }
    return false;
}

}  // namespace

TEST(KitBuilderRoundTrip, VolumeBoundariesReadBackByteExact) {
    ScratchDir scratch;
    Sources src(scratch);
    const std::uint64_t a = 3000, b = src.deflatedB, c = 1500;
    const std::uint64_t whole = kLead + 4 * kHeader + a + b + c;
    struct Case {
        const char* label;
        std::uint64_t firstVolume;  // capacity of DATA.A1 on DISK01
        std::uint64_t firstVolumeSize;  // what it then holds
    };
    const std::vector<Case> cases = {
        {"one volume, ends exactly at the last member's end", whole, whole},
        {"ends right after B's header", kLead + kHeader + a + kHeader, kLead + kHeader + a + kHeader},
        {"ends inside B's data", kLead + 2 * kHeader + a + b / 2, kLead + 2 * kHeader + a + b / 2},
        // A volume cannot end at a member's end when more follows: the
        // reader only moves on from a member that runs short, so the writer
        // carries its last byte over.
        {"would end at A's end", kLead + kHeader + a, kLead + kHeader + a - 1},
        {"would end at B's end before the empty member", kLead + 2 * kHeader + a + b,
         kLead + 2 * kHeader + a + b - 1},
        {"ends inside C's data", whole - c / 3, whole - c / 3},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.label);
        std::string out = scratch.Dir(std::string("kit_") + std::to_string(&tc - cases.data()));
        fs::remove_all(out);
        KitResult result = Build(scratch, Description(tc.firstVolume + kReserve), out);
        EXPECT_EQ(fs::file_size(JoinPath(DiskDir(out, 1), "DATA.A1")), tc.firstVolumeSize);
        auto installed = Install(scratch, out, result.diskettes);
        ASSERT_EQ(installed.size(), 4u);
        for (const auto& [name, data] : src.files)
            EXPECT_TRUE(installed[name].first == data) << name;
        // Deflate is kept only where it shrinks the file.
        EXPECT_EQ(installed["A.EXE"].second, 2);
        EXPECT_EQ(installed["B.PDB"].second, 4);
        EXPECT_EQ(installed["E.INI"].second, 2);
        EXPECT_EQ(installed["C.DLL"].second, 2);
        EXPECT_EQ(Problems(out), std::vector<std::string>{});
    }
}

TEST(KitBuilderRoundTrip, ManyDiskettesOfTheSmallestSize) {
    ScratchDir scratch;
    Sources src(scratch);
    src.files["B.PDB"] = Payload(25000, 21, false);
    WriteFile(JoinPath(scratch.Dir("src"), "B.PDB"), src.files["B.PDB"]);
    std::string out = scratch.Dir("kit");
    KitResult result = Build(scratch, Description(4096), out);
    EXPECT_GE(result.diskettes, 7);
    auto installed = Install(scratch, out, result.diskettes);
    for (const auto& [name, data] : src.files)
        EXPECT_TRUE(installed[name].first == data) << name;
    EXPECT_EQ(Problems(out), std::vector<std::string>{});
}

TEST(KitBuilderReproducible, TwoBuildsAreByteIdenticalAndCarryNoBuildPath) {
    ScratchDir scratch;
    Sources src(scratch);
    std::string first = scratch.Dir("first_build"), second = scratch.Dir("second_build");
    KitResult r1 = Build(scratch, Description(kLead + 2 * kHeader + 3000 + 100 + kReserve), first);
    KitResult r2 = Build(scratch, Description(kLead + 2 * kHeader + 3000 + 100 + kReserve), second);
    ASSERT_EQ(r1.diskettes, r2.diskettes);
    ASSERT_GE(r1.diskettes, 2);
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(first)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
        fs::path other = fs::path(second) / fs::relative(entry.path(), first);
        Bytes one = ReadFile(entry.path().string()), two = ReadFile(other.string());
        EXPECT_TRUE(one == two) << entry.path();
        std::string text(one.begin(), one.end());
        for (const std::string& leak : {scratch.path.string(), std::string("first_build"), std::string("src/")})
            EXPECT_EQ(text.find(leak), std::string::npos) << leak << " in " << entry.path();
        // Unnamed header fields are zeros: lead bytes 4-7, entry bytes
        // 12-15 and 288-291.
        if (entry.path().filename().string().rfind("DATA.A", 0) == 0) {
            for (std::size_t i = 4; i < kLead; ++i)
                EXPECT_EQ(one[i], 0) << entry.path() << " lead byte " << i;
            if (one.size() >= kLead + kHeader && entry.path().filename() == "DATA.A1") {
                for (std::size_t i : {12u, 13u, 14u, 15u, 288u, 289u, 290u, 291u}) {
                    EXPECT_EQ(one[kLead + i], 0) << "entry byte " << i;
                }
            }
        }
    }
    EXPECT_GE(files, 4);
}

TEST(KitVerify, FindsDamageAndNamesMemberAndVolume) {
    ScratchDir scratch;
    Sources src(scratch);
    const std::uint64_t a = 3000, b = src.deflatedB;
    // DATA.A1 ends inside B's data; the rest of B, E and C are in DATA.A2.
    const std::uint64_t first = kLead + 2 * kHeader + a + b / 2;
    const std::string text = Description(first + kReserve);
    struct Case {
        const char* label;
        std::function<void(const std::string& kit)> damage;
        std::vector<std::string> expected;  // parts of one problem line
    };
    auto flip = [](const std::string& path, std::uint64_t at) {
        Bytes data = ReadFile(path);
        data.at(at) ^= 0x5A;
        WriteFile(path, data);
    };
    auto cut = [](const std::string& path, std::uint64_t size) { fs::resize_file(path, size); };
    auto editProfile = [](const std::string& path, const std::string& from, const std::string& to) {
        Bytes data = ReadFile(path);
        std::string t(data.begin(), data.end());
        std::size_t at = t.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        t.replace(at, from.size(), to);
        WriteFile(path, Bytes(t.begin(), t.end()));
    };
    // Overwrites the start of a member's name in its header (the name is at
    // offset 16 of the header).
    auto rename = [](const std::string& path, std::uint64_t header, const std::string& text) {
        Bytes data = ReadFile(path);
        std::copy(text.begin(), text.end(), data.begin() + static_cast<long>(header + 16));
        WriteFile(path, data);
    };
    const std::uint64_t cStart = kLead + (b - b / 2) + 2 * kHeader;  // C's data in DATA.A2
    const std::vector<Case> cases = {
        {"byte of stored data in A",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 1), "DATA.A1"), kLead + kHeader + 100); },
         {"DISK01/DATA.A1", "'A.EXE'", "checksum"}},
        {"byte of deflated data in B's second part",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 2), "DATA.A2"), kLead + 10); },
         {"'B.PDB'", "DISK01/DATA.A1, DISK02/DATA.A2"}},
        {"byte of C's data",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 2), "DATA.A2"), cStart + 5); },
         {"'C.DLL'", "DISK02/DATA.A2", "checksum"}},
        {"magic of C's header",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 2), "DATA.A2"), cStart - kHeader); },
         {"DISK02/DATA.A2", "member 4", "no entry header"}},
        {"method of A's header",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 1), "DATA.A1"), kLead + 292); },
         {"DISK01/DATA.A1", "'A.EXE'", "unknown method"}},
        {"lead header of the second volume",
         [&](const std::string& k) { flip(JoinPath(DiskDir(k, 2), "DATA.A2"), 0); },
         {"DISK02/DATA.A2", "no lead header"}},
        {"last volume cut inside C's data",
         [&](const std::string& k) { cut(JoinPath(DiskDir(k, 2), "DATA.A2"), cStart + 100); },
         {"DISK02/DATA.A2", "'C.DLL'", "end after 100 of 1500"}},
        {"last volume cut inside C's header",
         [&](const std::string& k) { cut(JoinPath(DiskDir(k, 2), "DATA.A2"), cStart - 100); },
         {"DISK02/DATA.A2", "not a whole header"}},
        {"second volume missing",
         [&](const std::string& k) { fs::remove(JoinPath(DiskDir(k, 2), "DATA.A2")); },
         {"DISK02/DATA.A2", "missing"}},
        {"archive size edited in the profile",
         [&](const std::string& k) {
             editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "DATA.A1=10500|", "DATA.A1=10501|");
         },
         {"SETUP.ini line", "DATA.A1", "size 10501", "hold 10500"}},
        {"member count edited",
         [&](const std::string& k) { editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "10500|1|4|", "10500|1|5|"); },
         {"DATA.A1", "count 5", "holds 4"}},
        {"single file size edited",
         [&](const std::string& k) { editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "README.TXT=1500|", "README.TXT=1499|"); },
         {"README.TXT", "size 1499", "has 1500"}},
        {"single file on the wrong diskette",
         [&](const std::string& k) { editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "README.TXT=1500|0|1|2|", "README.TXT=1500|0|1|1|"); },
         {"README.TXT", "not on DISK01"}},
        {"destination cycle",
         [&](const std::string& k) { editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "0=TVIEWER|-1|", "0=TVIEWER|1|"); },
         {"destination 0", "does not resolve"}},
        // Names Setup refuses: the kit would install without them.
        {"member named like a device",
         [&](const std::string& k) { rename(JoinPath(DiskDir(k, 1), "DATA.A1"), kLead, "AUX.E"); },
         {"DISK01/DATA.A1", "member 1 'AUX.E'", "Setup refuses this name"}},
        {"member name with a trailing dot",
         [&](const std::string& k) { rename(JoinPath(DiskDir(k, 2), "DATA.A2"), cStart - kHeader, "C.DL."); },
         {"DISK02/DATA.A2", "'C.DL.'", "Setup refuses this name"}},
        {"member name whose file part is \"..\"",
         [&](const std::string& k) { rename(JoinPath(DiskDir(k, 1), "DATA.A1"), kLead, std::string("x\\..\0", 5)); },
         {"DISK01/DATA.A1", "member 1", "Setup refuses this name"}},
        {"source file named like a device",
         [&](const std::string& k) { editProfile(JoinPath(DiskDir(k, 1), "SETUP.ini"), "README.TXT=", "AUX.TXT="); },
         {"AUX.TXT", "named like a device"}},
        {"profile missing",
         [&](const std::string& k) { fs::remove(JoinPath(DiskDir(k, 1), "SETUP.ini")); },
         {"SETUP.ini", "missing"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& tc = cases[i];
        SCOPED_TRACE(tc.label);
        std::string kit = scratch.Dir("kit" + std::to_string(i));
        fs::remove_all(kit);
        Build(scratch, text, kit);
        ASSERT_EQ(Problems(kit), std::vector<std::string>{}) << "before damage";
        tc.damage(kit);
        std::vector<std::string> problems = Problems(kit);
        std::string all;
        for (const std::string& p : problems)
            all += p + "\n";
        EXPECT_TRUE(AnyContains(problems, tc.expected)) << all;
    }
}

TEST(KitDescriptionParse, DuplicatesAndDestinationCyclesNameTheirLine) {
    const std::string base = "[groups]\nViewer = V|d|1|1|1\n";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"[destinations]\n0 = A|1|\n1 = B|2|\n2 = C|0|\n", "line 2: destination 0 lies in a cycle"},
        {"[destinations]\n0 = A|-1|\n1 = B|1|\n", "line 3: destination 1 lies in a cycle"},
        {"[destinations]\n0 = A|-1|\n1 = B|7|\n", "line 3: destination 1: parent 7 is not in"},
        {"[destinations]\n0 = A|-1|\n0 = B|-1|\n", "line 3: destination 0 is given twice"},
        {"[destinations]\n0 = A|-1|\n" + base + "viewer = W|d|0|0|0\n", "line 5: component 'viewer' is given twice"},
        {"[targets]\nA.EXE = 0\na.exe = 1\n", "line 3: target 'a.exe' is given twice"},
    };
    for (const auto& [text, message] : cases) {
        try {
            ParseKitDescription(text, ".");
            ADD_FAILURE() << message << ": accepted";
        } catch (const KitError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
        }
    }
    // Predefined parents resolve.
    EXPECT_NO_THROW(ParseKitDescription("[destinations]\n0 = A|-1|\n1 = B|-2|\n2 = C|1|\n", "."));
}
