#include "profile/SourceFileList.h"

#include "profile/ComponentMap.h"

TVS_IMPLEMENT_DYNAMIC(SourceFile, CObject)

namespace {

bool SortsAfter(const SourceFile& existing, const SourceFile& added) {
    if (existing.diskette != added.diskette) return existing.diskette > added.diskette;
    return existing.late && !added.late;
}

}  // namespace

SourceFile& SourceFileList::Insert(std::unique_ptr<SourceFile> item) {
    // The list is always sorted, so the first item that sorts after the new
    // one is found walking back from the end; profiles list their files
    // mostly in diskette order, which makes this step short.
    auto position = items.end();
    while (position != items.begin()) {
        auto previous = std::prev(position);
        if (!SortsAfter(**previous, *item)) break;
        position = previous;
    }
    return **items.insert(position, std::move(item));
}

int32_t SourceFileList::RequiredBytes() const {
    uint32_t total = 0;
    for (const auto& item : items)
        if (item->component != nullptr && item->component->selected)
            total += static_cast<uint32_t>(item->size);
    return static_cast<int32_t>(total);
}
