#pragma once
// The files on the install media, in install order. Portable: no <windows.h>.

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "framework/Object.h"
#include "profile/OwnedIterator.h"

class Component;

enum SourceKind { SourceSingleFile = 0, SourceArchive = 1 };

// One line of a component's section. The archive reader that installs the
// item keeps its own state; this record holds what the profile says, plus
// the diskette number, which following an archive onto the next volume
// advances.
class SourceFile : public CObject {
    TVS_DECLARE_DYNAMIC(SourceFile)
public:
    std::string name;              // file name on the media
    int kind = SourceSingleFile;   // SourceKind
    int32_t size = 0;              // bytes occupied once installed
    int count = 0;                 // files the item installs; kept only
    int diskette = 0;              // always 0 or greater
    int late = 0;                  // 1: placed after the diskette's other items
    std::string text;              // kept, not interpreted
    int destination = -1;          // single files only; -1: not installed
    Component* component = nullptr;  // owning component; not owned here
};

class SourceFileList {
public:
    SourceFileList() = default;
    SourceFileList(const SourceFileList&) = delete;
    SourceFileList& operator=(const SourceFileList&) = delete;

    // Inserts before the first item that sorts after the new one: a greater
    // diskette number, or the same number with the existing item late and
    // the new one not. Equal items keep their insertion order. Returns the
    // stored item.
    SourceFile& Insert(std::unique_ptr<SourceFile> item);

    // Sum of the sizes of the items whose component is selected, as a 32-bit
    // signed value (it wraps as the 32-bit sum does).
    int32_t RequiredBytes() const;

    size_t size() const { return items.size(); }
    using Items = std::list<std::unique_ptr<SourceFile>>;
    using iterator = OwnedIterator<SourceFile, Items::const_iterator>;
    using const_iterator = OwnedIterator<const SourceFile, Items::const_iterator>;
    iterator begin() { return iterator(items.begin()); }
    iterator end() { return iterator(items.end()); }
    const_iterator begin() const { return const_iterator(items.begin()); }
    const_iterator end() const { return const_iterator(items.end()); }

private:
    Items items;
};
