#include "archive/MultiFileWriter.h"

#include <cstring>

#include <zlib.h>

#include "archive/MemberChecksum.h"

using namespace ArchiveFormat;

namespace {

struct Segment {
    std::size_t member;
    bool header;
    std::size_t from;
    std::size_t length;
};

// The reader's tracked read stops at 2147483647 bytes per archive.
constexpr std::uint64_t kMaxArchiveBytes = 2147483647u;

}  // namespace

void MemoryVolumeOutput::Write(const void* data, std::size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    volumes.back().insert(volumes.back().end(), p, p + n);
}

std::vector<unsigned char> DeflateMember(const std::vector<unsigned char>& data, int level) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::vector<unsigned char> out(size);
    int result = compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level);
    if (result != Z_OK)
        throw ArchiveWriteError("deflate failed (zlib result " + std::to_string(result) + ")");
    out.resize(size);
    return out;
}

CMultiFileWriter::CMultiFileWriter(VolumeOutput& output) : output(output) {}

void CMultiFileWriter::AddMember(const MemberSource& member) {
    if (member.name.empty() || member.name.size() >= kNameWidth)
        throw ArchiveWriteError("member name '" + member.name + "' must have 1 to " +
                                std::to_string(kNameWidth - 1) + " characters");
    if (member.extra.size() >= kExtraWidth)
        throw ArchiveWriteError("extra text of '" + member.name + "' is longer than " +
                                std::to_string(kExtraWidth - 1) + " characters");
    if (member.data.size() > kMaxArchiveBytes)
        throw ArchiveWriteError("member '" + member.name + "' is too large");

    Pending pending;
    switch (member.method) {
    case kMethodStored: pending.stored = member.data; break;
    case kMethodDeflated:
        if (member.level < 0 || member.level > 9)
            throw ArchiveWriteError("deflate level of '" + member.name + "' must be 0 to 9");
        pending.stored = DeflateMember(member.data, member.level);
        break;
    default:
        throw ArchiveWriteError("member '" + member.name + "': method must be 2 (stored) or 4 (deflated)");
    }
    std::uint64_t total = pending.stored.size();
    for (const Pending& p : members)
        total += p.stored.size();
    if (total > kMaxArchiveBytes)
        throw ArchiveWriteError("archive would exceed " + std::to_string(kMaxArchiveBytes) + " stored bytes");

    EntryHeader& h = pending.header;
    h.SetModTime(member.modTime);
    h.SetName(member.name);
    h.SetDecodedSize(static_cast<std::uint32_t>(member.data.size()));
    h.SetStoredSize(static_cast<std::uint32_t>(pending.stored.size()));
    h.SetChecksum(member.withChecksum ? UpdateMemberChecksum(0, member.data.data(), member.data.size()) : 0);
    h.SetMethod(member.method);
    h.SetMethodParam(0);
    h.SetDestination(member.destination);
    h.SetAttributes(member.attributes);
    h.SetContinued(0);
    h.SetExtra(member.extra);
    members.push_back(std::move(pending));
}

std::vector<std::uint64_t> CMultiFileWriter::Needs() const {
    std::vector<std::uint64_t> need(members.size() + 1, 0);
    for (std::size_t k = members.size(); k-- > 0;) {
        bool last = k + 1 == members.size();
        need[k] = kEntryHeaderSize + ((last || !members[k].stored.empty()) ? 0 : need[k + 1]);
    }
    return need;
}

std::uint64_t CMultiFileWriter::FirstVolumeNeed() const {
    return kLeadHeaderSize + Needs()[0];
}

int CMultiFileWriter::Finish() {
    const std::vector<std::uint64_t> need = Needs();
    std::vector<std::vector<Segment>> volumes(1);
    placements.assign(members.size(), MemberPlacement{});

    auto capacityOf = [&](int index) -> std::uint64_t {
        std::uint64_t capacity = output.VolumeCapacity(index);
        if (capacity <= kLeadHeaderSize)
            throw ArchiveWriteError("volume " + std::to_string(index + 1) + " has no room after its lead header");
        return capacity - kLeadHeaderSize;
    };
    std::uint64_t room = capacityOf(0);

    for (std::size_t k = 0; k < members.size(); ++k) {
        Pending& m = members[k];
        int volume = static_cast<int>(volumes.size()) - 1;
        if (room < need[k])
            throw ArchiveWriteError("volume " + std::to_string(volume + 1) + " has " + std::to_string(room) +
                                    " bytes left but member '" + m.header.Name() + "' needs " +
                                    std::to_string(need[k]));
        volumes.back().push_back({k, true, 0, 0});
        room -= kEntryHeaderSize;
        placements[k].name = m.header.Name();
        placements[k].firstVolume = volume;

        std::size_t rest = m.stored.size();
        std::size_t from = 0;
        bool fresh = false;
        for (;;) {
            std::size_t part;
            if (rest <= room) {
                // The next header must fit behind this member; if it would
                // not, at least one byte goes on to the next volume, since
                // only a read that runs short moves the reader there.
                if (rest > 0 && room - rest < need[k + 1]) {
                    // Even a fresh volume holding a single byte of this
                    // member could not take the next header: give up.
                    if (fresh && room < 1 + need[k + 1])
                        throw ArchiveWriteError("volume " + std::to_string(volumes.size()) +
                                                " is too small for the rest of '" + m.header.Name() +
                                                "' and the next header");
                    part = rest - 1;
                } else {
                    part = rest;
                }
            } else {
                part = static_cast<std::size_t>(room);
            }
            if (part > 0)
                volumes.back().push_back({k, false, from, part});
            from += part;
            rest -= part;
            room -= part;
            if (rest == 0)
                break;
            m.header.SetContinued(1);
            volumes.emplace_back();
            room = capacityOf(static_cast<int>(volumes.size()) - 1);
            fresh = true;
        }
        placements[k].lastVolume = static_cast<int>(volumes.size()) - 1;
        placements[k].storedSize = m.header.StoredSize();
        placements[k].decodedSize = m.header.DecodedSize();
        placements[k].checksum = m.header.Checksum();
    }

    for (std::size_t v = 0; v < volumes.size(); ++v) {
        output.BeginVolume(static_cast<int>(v));
        unsigned char lead[kLeadHeaderSize];
        MakeLeadHeader(lead, static_cast<std::uint32_t>(v + 1));
        output.Write(lead, sizeof lead);
        for (const Segment& s : volumes[v]) {
            const Pending& m = members[s.member];
            if (s.header)
                output.Write(m.header.Bytes(), kEntryHeaderSize);
            else
                output.Write(m.stored.data() + s.from, s.length);
        }
        output.EndVolume();
    }
    return static_cast<int>(volumes.size());
}
