#pragma once
// The text of a profile-format file held in memory with the byte offsets of
// its sections and keys, so that setting one key costs a write of one line
// rather than a rewrite of the file. It knows only the text the platform's
// WritePrivateProfileStringA leaves behind: "[name]" and "key=value" lines,
// each ended by CR LF, nothing else. Any other text is "not plain": the
// caller then writes through the platform and loads the result again.
// Portable: no <windows.h>.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What to do to the file so that it holds the new text: write `bytes` at
// `offset`, then make the file `size` bytes long. Everything before `offset`
// is unchanged.
struct ProfileTextEdit {
    std::size_t offset = 0;
    std::string bytes;
    std::size_t size = 0;
};

class ProfileText {
public:
    enum class SetResult {
        kUnchanged,  // the key already holds the value: nothing to write
        kEdited,     // the edit makes the file hold Text()
        kNotPlain,   // the file or the line is beyond this model: Text() is unchanged
    };

    // Takes the whole file (empty for a missing one). Returns IsPlain().
    bool Load(std::string bytes);
    bool IsPlain() const { return plain; }
    const std::string& Text() const { return text; }

    // Replaces the value of the key (matched without regard to ASCII case,
    // the name keeps its spelling in the file) or adds "key=value" at the
    // end of the section, or adds the section at the end of the file, as
    // the platform does. A new line at the end of the file costs the same
    // whatever the file's size; a line changed or added before the end
    // costs a rewrite of what follows it.
    SetResult Set(const std::string& section, const std::string& key, const std::string& value,
                  ProfileTextEdit& edit);

private:
    struct Section {
        std::uint32_t headerOffset;  // of the '['
        std::uint32_t nameLength;
        std::uint32_t end;           // where the next section's header or the file's end is
    };
    // A key line in the hash table: 0 is a free slot.
    struct Slot {
        std::uint32_t lineOffset;  // one more than the offset of the key's first character
        std::uint32_t section;
    };

    bool Parse();
    int FindSection(const char* name, std::size_t length) const;
    // The slot of the key in the section, or of the free slot where it goes.
    std::size_t FindSlot(std::uint32_t section, const char* key, std::size_t length) const;
    void AddKey(std::uint32_t section, std::uint32_t lineOffset, std::size_t keyLength);
    // Moves every offset at or after `from` by `delta` bytes.
    void Shift(std::size_t from, std::ptrdiff_t delta);

    std::string text;
    std::vector<Section> sections;
    std::vector<Slot> slots;  // open addressing, a power of two, at most half used
    std::size_t keyCount = 0;
    bool plain = true;
};
