#pragma once
// Deflates each archive member exactly once. Whether a member is worth
// deflating is only known from its deflated size, and the archive writer
// deflates again on its own; for a kit of large programs that doubles the
// build time. This output sits between the writer and the real volumes: a
// member is deflated here, handed to the writer as stored bytes, and its
// entry header is put right (method, decoded size, checksum) as it goes
// through. The bytes written are those the writer makes for the same member
// with method 4, so kits stay byte-identical. Portable.

#include <cstdint>
#include <vector>

#include "archive/MultiFileWriter.h"
#include "tools/kitbuilder/KitDeflate.h"

class DeflateOnceOutput : public VolumeOutput {
public:
    using Deflate = std::vector<unsigned char> (*)(const std::vector<unsigned char>&, int);
    // deflate makes the stored form of a method 4 member (KitDeflate; the
    // archive writer's DeflateMember gives the writer's own bytes).
    explicit DeflateOnceOutput(VolumeOutput& volumes, Deflate deflate = &KitDeflate)
        : volumes(volumes), deflate(deflate) {}

    // Decides the member's method and encodes it; returns what to hand to
    // the writer's AddMember. Call it once per member, in the order the
    // members are added. A member asking for deflate stays stored when
    // deflate would not shrink it (already compressed data, tiny files).
    // Raises ArchiveWriteError when the deflate refuses (a level outside 0-12).
    MemberSource Prepare(MemberSource member);
    // The same with the member's deflated bytes made beforehand (by another
    // thread); ignored unless the member asks for deflate.
    MemberSource Prepare(MemberSource member, std::vector<unsigned char> deflated);

    // The member's installed size and method as they go into its header
    // (the writer's own placements see the encoded form of a deflated one).
    std::uint32_t DecodedSize(std::size_t member) const { return members.at(member).decodedSize; }
    std::int32_t Method(std::size_t member) const { return members.at(member).method; }

    std::uint64_t VolumeCapacity(int index) override { return volumes.VolumeCapacity(index); }
    void BeginVolume(int index) override;
    void Write(const void* data, std::size_t n) override;
    void EndVolume() override;

private:
    struct Prepared {
        bool deflatedHere = false;
        std::int32_t method = 0;
        std::uint32_t decodedSize = 0;
        std::uint32_t checksum = 0;
    };

    VolumeOutput& volumes;
    Deflate deflate;
    std::vector<Prepared> members;
    // Where the stream stands: lead header bytes still to pass, the entry
    // header being collected, member bytes still to pass.
    std::size_t leadLeft = 0;
    std::vector<unsigned char> header;
    std::uint64_t storedLeft = 0;
    std::size_t nextMember = 0;
};
