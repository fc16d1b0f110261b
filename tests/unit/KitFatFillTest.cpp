// Diskettes of 720 KB and 1.44 MB are filled as their FAT12 images hold
// files: whole clusters per file, a root directory of fixed size with room
// for the volume label. Other sizes are filled to the byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ArchiveTestSupport.h"
#include "tools/kitbuilder/KitBuilder.h"
#include "tools/kitbuilder/KitDescription.h"
#include "tools/kitbuilder/KitVerifier.h"

using namespace archive_test;
using ArchiveFormat::JoinPath;
namespace fs = std::filesystem;

namespace {

std::string Header(std::uint64_t diskSize) {
    return "[kit]\ndisk_size = " + std::to_string(diskSize) +
           "\nprofile_reserve = 10000\nlabel = Fill Test %d\n"
           "[destinations]\n0 = FILL|-1|\n[groups]\nMain = Fill|Files|1|1|1\n";
}

struct Usage {
    std::uint64_t bytes = 0, clusters = 0, entries = 0;
};

// What each DISKnn directory takes on a FAT diskette of that cluster size.
std::vector<Usage> Measure(const std::string& out, int diskettes, std::uint64_t clusterSize) {
    std::vector<Usage> usage;
    for (int d = 1; d <= diskettes; ++d) {
        char name[16];
        std::snprintf(name, sizeof name, "DISK%02d", d);
        Usage u;
        for (const auto& entry : fs::directory_iterator(JoinPath(out, name))) {
            u.bytes += entry.file_size();
            u.clusters += (entry.file_size() + clusterSize - 1) / clusterSize;
            ++u.entries;
        }
        usage.push_back(u);
    }
    return usage;
}

// Files src/F<i>.DAT of the given sizes, as single files or one archive.
std::string Files(const ScratchDir& scratch, const std::vector<std::size_t>& sizes, bool archive) {
    std::string src = scratch.Dir("src");
    std::string text = archive ? "[archive DATA.A1]\ncomponent = Main\nmethod = stored\n" : "";
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        std::string name = "F" + std::to_string(i) + ".DAT";
        WriteFile(JoinPath(src, name), Payload(sizes[i], static_cast<std::uint32_t>(i), false));
        text += "[file " + name + "]\nsource = src/" + name + "\n" + (archive ? "archive = DATA.A1\n" : "component = Main\n");
    }
    return text;
}

}  // namespace

TEST(KitFatFill, LayoutsAreThoseOfTheFormattedDiskettes) {
    // Data clusters of a diskette: its sectors less the boot sector, two
    // FATs and the root directory, in clusters.
    const FatDiskette* k720 = FatDisketteOf(737280);
    const FatDiskette* k144 = FatDisketteOf(1457664);
    ASSERT_NE(k720, nullptr);
    ASSERT_NE(k144, nullptr);
    EXPECT_EQ((1440 - 1 - 2 * 3 - 112 * 32 / 512) * 512 / k720->clusterSize, k720->clusters);
    EXPECT_EQ((2880 - 1 - 2 * 9 - 224 * 32 / 512) * 512 / k144->clusterSize, k144->clusters);
    EXPECT_EQ(FatDisketteOf(737281), nullptr);
    EXPECT_EQ(FatDisketteOf(20000), nullptr);
    EXPECT_EQ(VolumeLabel("Tessaly Viewer Disk 1"), "Tessaly Vie");
    EXPECT_EQ(VolumeLabel("DISK 1     X"), "DISK 1");
    EXPECT_EQ(VolumeLabelEntries("DISK 1"), 1u);
    EXPECT_EQ(VolumeLabelEntries("Disk 1"), 2u);
    EXPECT_EQ(VolumeLabelEntries(""), 0u);
}

TEST(KitFatFill, SingleFilesTakeWholeClustersAndRootEntries) {
    struct Case {
        const char* label;
        std::uint64_t diskSize;
        std::vector<std::size_t> sizes;
        int minDiskettes;  // more than the bytes alone would need
    };
    const std::vector<Case> cases = {
        // 20 x 36000 bytes fit 720 KB by bytes, not in 36 clusters each.
        {"cluster slack, 720 KB", 737280, std::vector<std::size_t>(20, 36000), 2},
        // 1.44 MB: one-sector clusters; 50 x 29000 bytes need 57 each.
        {"cluster slack, 1.44 MB", 1457664, std::vector<std::size_t>(50, 29000), 2},
        // 130 small files: more than a root of 112 entries holds.
        {"root entries, 720 KB", 737280, std::vector<std::size_t>(130, 10), 2},
        {"root entries, 1.44 MB", 1457664, std::vector<std::size_t>(240, 0), 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScratchDir scratch;
        FakeFileStatus status;
        std::string out = scratch.Dir("kit");
        KitResult result =
            BuildKit(ParseKitDescription(Header(c.diskSize) + Files(scratch, c.sizes, false), scratch.path.string()),
                     out, status);
        const FatDiskette* fat = FatDisketteOf(c.diskSize);
        ASSERT_GE(result.diskettes, c.minDiskettes);
        std::vector<Usage> usage = Measure(out, result.diskettes, fat->clusterSize);
        for (std::size_t d = 0; d < usage.size(); ++d) {
            SCOPED_TRACE(d + 1);
            EXPECT_LE(usage[d].clusters, fat->clusters);
            // The label "Fill Test N" takes two entries (its case kept).
            EXPECT_LE(usage[d].entries + 2, fat->rootEntries);
            // The summary's figures are those of the files written.
            EXPECT_EQ(result.disks[d].clusters, usage[d].clusters);
            EXPECT_EQ(result.disks[d].rootEntries, usage[d].entries + 2);
            EXPECT_EQ(result.disks[d].bytes, usage[d].bytes);
        }
        // Filled, not spread: each diskette but the last left no room for
        // the next one's first file.
        for (std::size_t d = 0; d + 1 < usage.size(); ++d) {
            std::uint64_t next = result.disks[d + 1].files.front().second;
            std::uint64_t nextClusters = (next + fat->clusterSize - 1) / fat->clusterSize;
            EXPECT_TRUE(usage[d].clusters + nextClusters > fat->clusters || usage[d].entries + 2 >= fat->rootEntries)
                << "diskette " << d + 1;
        }
        EXPECT_EQ(VerifyKit(out).problems, std::vector<std::string>{});
    }
}

TEST(KitFatFill, ArchiveVolumesFillTheLastClusterAndNoFurther) {
    for (std::uint64_t diskSize : {std::uint64_t(737280), std::uint64_t(1457664)}) {
        SCOPED_TRACE(diskSize);
        ScratchDir scratch;
        FakeFileStatus status;
        std::string out = scratch.Dir("kit");
        // A single file of odd size before the archive leaves a part
        // cluster on DISK01 that byte counting would fill.
        std::string text = Header(diskSize) + Files(scratch, {1000, 1100001, 700003, 900007, 1500007}, true);
        WriteFile(scratch.File("lone"), Payload(5001, 99, false));
        text += "[file LONE.DAT]\nsource = lone\ncomponent = Main\n";
        KitDescription kit = ParseKitDescription(text, scratch.path.string());
        // The single file comes first on the diskettes.
        std::rotate(kit.units.begin(), kit.units.end() - 1, kit.units.end());
        KitResult result = BuildKit(kit, out, status);
        const FatDiskette* fat = FatDisketteOf(diskSize);
        std::vector<Usage> usage = Measure(out, result.diskettes, fat->clusterSize);
        ASSERT_GE(usage.size(), 2u);
        for (std::size_t d = 0; d < usage.size(); ++d) {
            SCOPED_TRACE(d + 1);
            EXPECT_LE(usage[d].clusters, fat->clusters);
            // Every diskette an archive continues from is full to its
            // last cluster, less the profile's reserve on DISK01.
            if (d + 1 < usage.size() && d > 0) {
                EXPECT_EQ(usage[d].clusters, fat->clusters);
            }
        }
        EXPECT_EQ(VerifyKit(out).problems, std::vector<std::string>{});
    }
}

TEST(KitFatFill, OtherSizesAreFilledToTheByte) {
    ScratchDir scratch;
    FakeFileStatus status;
    std::string out = scratch.Dir("kit");
    // 737279 bytes is no diskette mformat makes: 20 x 36000 share one.
    KitResult result = BuildKit(
        ParseKitDescription(Header(737279) + Files(scratch, std::vector<std::size_t>(20, 36000), false),
                            scratch.path.string()),
        out, status);
    EXPECT_EQ(result.diskettes, 1);
    EXPECT_EQ(result.disks[0].clusters, 0u);
}
