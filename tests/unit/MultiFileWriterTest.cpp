#include "archive/MultiFileWriter.h"

#include <functional>

#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"

using namespace archive_test;

namespace {

std::vector<MemberSource> Mixed(std::uint32_t seed, int count) {
    std::vector<MemberSource> members;
    std::uint32_t x = seed;
    for (int i = 0; i < count; ++i) {
        x = x * 1103515245u + 12345u;
        std::size_t size = (x >> 8) % 5000;
        if ((x >> 4) % 4 == 0)
            size = 0;  // runs of empty members are the awkward case
        members.push_back(Member("F" + std::to_string(i), Payload(size, x, (x >> 3) % 2 == 0),
                                 (x >> 5) % 2 ? 4 : 2, (x >> 6) % 5 == 0 ? -1 : 0));
    }
    return members;
}

}  // namespace

// Every layout must stay inside the capacity and read back member for
// member: headers whole in one volume, and every volume reachable through
// a continued member.
TEST(MultiFileWriterLayout, RoundTripsAtManyVolumeSizes) {
    const std::uint64_t capacities[] = {8 + 346 * 4 + 1, 1500, 2048, 4096, 4097, 7000, 1457664};
    for (std::uint32_t seed : {1u, 2u, 3u}) {
        std::vector<MemberSource> members = Mixed(seed, 12);
        for (std::uint64_t capacity : capacities) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " capacity " + std::to_string(capacity));
            MemoryVolumeOutput out(capacity);
            CMultiFileWriter writer(out);
            for (const MemberSource& m : members)
                writer.AddMember(m);
            int count = 0;
            try {
                count = writer.Finish();
            } catch (const ArchiveWriteError& e) {
                // Only allowed when a volume cannot hold a run of empty headers.
                EXPECT_LT(capacity, 3000u) << e.what();
                continue;
            }
            ASSERT_LE(count, 26);  // names DATA.AA .. DATA.AZ
            for (const Bytes& v : out.volumes)
                EXPECT_LE(v.size(), capacity);
            ScratchDir scratch;
            Kit kit(scratch);
            ExpectSame(members, kit.ExtractAll(kit.Store(out.volumes)));
        }
    }
}

TEST(MultiFileWriterLayout, EmptyMembersNeedTheirFollowersHeaders) {
    std::vector<MemberSource> members = {Member("A", Payload(900, 1, false), 2), Member("E1", {}, 2),
                                         Member("E2", {}, 2), Member("B", Payload(10, 2), 2)};
    MemoryVolumeOutput probe;
    CMultiFileWriter sizing(probe);
    for (std::size_t i = 1; i < members.size(); ++i)
        sizing.AddMember(members[i]);
    EXPECT_EQ(sizing.FirstVolumeNeed(), 8u + 3 * 346);

    // A leaves exactly room for E1's header only: part of A must move on so
    // that E1, E2 and B all follow it in the next volume.
    MemoryVolumeOutput out(8 + 346 + 900 + 346);
    CMultiFileWriter writer(out);
    for (const MemberSource& m : members)
        writer.AddMember(m);
    EXPECT_EQ(writer.Finish(), 2);
    EXPECT_EQ(writer.Placements()[0].lastVolume, 1);
    EXPECT_EQ(writer.Placements()[1].firstVolume, 1);
    ScratchDir scratch;
    Kit kit(scratch);
    ExpectSame(members, kit.ExtractAll(kit.Store(out.volumes)));
}

TEST(MultiFileWriterErrors, BadMembersAndTooSmallVolumes) {
    MemoryVolumeOutput out(1457664);
    CMultiFileWriter writer(out);
    MemberSource m = Member("OK", Payload(10, 1));
    struct Case {
        const char* label;
        std::function<void(MemberSource&)> change;
    };
    const Case cases[] = {
        {"empty name", [](MemberSource& s) { s.name.clear(); }},
        {"long name", [](MemberSource& s) { s.name = std::string(260, 'n'); }},
        {"long extra", [](MemberSource& s) { s.extra = std::string(40, 'e'); }},
        {"method 3", [](MemberSource& s) { s.method = 3; }},
        {"level 10", [](MemberSource& s) { s.level = 10; }},
    };
    for (const Case& c : cases) {
        MemberSource bad = m;
        c.change(bad);
        EXPECT_THROW(writer.AddMember(bad), ArchiveWriteError) << c.label;
    }

    MemoryVolumeOutput tiny(300);
    CMultiFileWriter small(tiny);
    small.AddMember(m);
    EXPECT_THROW(small.Finish(), ArchiveWriteError);
    EXPECT_TRUE(tiny.volumes.empty());  // nothing written when the layout fails

    MemoryVolumeOutput lead(8);
    CMultiFileWriter noRoom(lead);
    EXPECT_THROW(noRoom.Finish(), ArchiveWriteError);
}

TEST(MultiFileWriterFormat, HeadersCarryWhatTheReaderChecks) {
    MemoryVolumeOutput out;
    CMultiFileWriter writer(out);
    MemberSource m = Member("ABC.TXT", Bytes{'a', 'b', 'c'}, 2, -3);
    m.attributes = 0x21;
    m.extra = "x";
    writer.AddMember(m);
    MemberSource unchecked = Member("U", Payload(5, 1), 4);
    unchecked.withChecksum = false;
    writer.AddMember(unchecked);
    EXPECT_EQ(writer.Finish(), 1);
    const Bytes& v = out.volumes.at(0);
    EXPECT_EQ(Bytes(v.begin(), v.begin() + 4), (Bytes{'m', 'f', 'l', 'h'}));
    EntryHeader h;
    std::copy(v.begin() + 8, v.begin() + 8 + 346, h.Bytes());
    EXPECT_TRUE(h.HasMagic());
    EXPECT_EQ(h.Version(), 1);
    EXPECT_EQ(h.HeaderSize(), 346);
    EXPECT_EQ(h.Checksum(), 0x3E105F31u);
    EXPECT_EQ(h.Destination(), -3);
    EXPECT_EQ(h.Attributes(), 0x21);
    EXPECT_EQ(h.ModTime(), 820454400);
    EXPECT_EQ(h.Extra(), "x");
    EXPECT_EQ(h.Continued(), 0);
    EXPECT_EQ(writer.Placements()[1].checksum, 0u);
}

TEST(MultiFileWriterLayout, RestThatLeavesNoRoomForTheNextHeaderMovesOnAgain) {
    // SPAN's rest fills its second volume so far that D's header would not
    // fit behind it: one more byte of SPAN goes on to a third volume.
    std::vector<MemberSource> members = {Member("SPAN", Payload(2000, 5), 2), Member("D", Payload(700, 6), 4)};
    MemoryVolumeOutput out(1200);
    CMultiFileWriter writer(out);
    for (const MemberSource& m : members)
        writer.AddMember(m);
    EXPECT_EQ(writer.Finish(), 3);
    EXPECT_EQ(writer.Placements()[0].lastVolume, 2);
    ScratchDir scratch;
    Kit kit(scratch);
    ExpectSame(members, kit.ExtractAll(kit.Store(out.volumes)));
}
