#include "tools/kitbuilder/DeflateOnce.h"

#include <algorithm>
#include <cstring>

#include "archive/ArchiveFormat.h"
#include "archive/MemberChecksum.h"

using namespace ArchiveFormat;

MemberSource DeflateOnceOutput::Prepare(MemberSource member) {
    std::vector<unsigned char> deflated;
    if (member.method == kMethodDeflated) {
        if (member.level < 0 || member.level > kKitMaxLevel)
            throw ArchiveWriteError("deflate level of '" + member.name + "' must be 0 to 12");
        deflated = deflate(member.data, member.level);
    }
    return Prepare(std::move(member), std::move(deflated));
}

MemberSource DeflateOnceOutput::Prepare(MemberSource member, std::vector<unsigned char> deflated) {
    Prepared p;
    p.method = member.method;
    p.decodedSize = static_cast<std::uint32_t>(member.data.size());
    if (member.method == kMethodDeflated) {
        if (deflated.size() >= member.data.size()) {
            p.method = kMethodStored;
            member.method = kMethodStored;
        } else {
            p.deflatedHere = true;
            p.checksum = member.withChecksum ? UpdateMemberChecksum(0, member.data.data(), member.data.size()) : 0;
            member.data = std::move(deflated);
            member.method = kMethodStored;
        }
    }
    members.push_back(p);
    return member;
}

void DeflateOnceOutput::BeginVolume(int index) {
    volumes.BeginVolume(index);
    leadLeft = kLeadHeaderSize;
}

void DeflateOnceOutput::Write(const void* data, std::size_t n) {
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (n > 0) {
        std::size_t take;
        if (leadLeft > 0) {
            take = std::min(n, leadLeft);
            volumes.Write(p, take);
            leadLeft -= take;
        } else if (storedLeft > 0) {
            take = static_cast<std::size_t>(std::min<std::uint64_t>(n, storedLeft));
            volumes.Write(p, take);
            storedLeft -= take;
        } else {
            // An entry header: held back until complete, then passed on
            // with the fields of a member deflated here set as the writer
            // would have set them.
            take = std::min(n, kEntryHeaderSize - header.size());
            header.insert(header.end(), p, p + take);
            if (header.size() == kEntryHeaderSize) {
                EntryHeader h;
                std::memcpy(h.Bytes(), header.data(), kEntryHeaderSize);
                if (nextMember >= members.size())
                    throw ArchiveWriteError("an archive member was added without being prepared");
                const Prepared& m = members[nextMember++];
                if (m.deflatedHere) {
                    h.SetMethod(kMethodDeflated);
                    h.SetDecodedSize(m.decodedSize);
                    h.SetChecksum(m.checksum);
                }
                volumes.Write(h.Bytes(), kEntryHeaderSize);
                storedLeft = h.StoredSize();
                header.clear();
            }
        }
        p += take;
        n -= take;
    }
}

void DeflateOnceOutput::EndVolume() {
    // The format keeps every entry header whole inside one volume.
    if (!header.empty())
        throw ArchiveWriteError("an entry header would be split between two volumes");
    volumes.EndVolume();
}
