#pragma once
// The labels of one assembly in order of first appearance, found by name in constant time.
// Everything lives in a few flat arrays (entries, names, pending uses, an open-addressing
// index), so a source with many thousands of labels costs one or two cache lines per
// look-up and no allocation per label.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TLabelEntry {
    static constexpr std::uint32_t None = 0xFFFFFFFF;
    std::uint32_t NameStart = 0;  // in the table's name store; names compare exactly
    std::uint32_t NameLength = 0;
    std::uint32_t FirstFixUp = None;  // pending uses, oldest first
    std::uint32_t LastFixUp = None;
    int Line = 0;    // of the last definition or, while undefined, of the first use
    int Column = 0;  // end of that token
    int Value = 0;   // the address, once defined
    bool Defined() const { return FirstFixUp == None; }
};

class TLabelTable {
public:
    // Empties the table; the index keeps a size suited to the previous contents.
    void Clear();
    // The entry named name, or nullptr. Valid until the next Add or Clear.
    TLabelEntry* Find(std::string_view name);
    const TLabelEntry* Find(std::string_view name) const;
    // Appends an entry, defined at value, for a name not in the table yet.
    TLabelEntry& Add(std::string_view name, int value, int line, int column);
    // Appends a use at address to the entry's pending uses.
    void AddFixUp(TLabelEntry& entry, std::uint8_t address);
    // Calls place(address) for the pending uses, oldest first, dropping each one placed;
    // false as soon as place fails.
    template <typename TPlace>
    bool TakeFixUps(TLabelEntry& entry, TPlace place);

    std::string_view Name(const TLabelEntry& entry) const {
        return std::string_view(names_).substr(entry.NameStart, entry.NameLength);
    }
    const std::vector<TLabelEntry>& Entries() const { return entries_; }

private:
    struct TFixUp {
        std::uint8_t Address;
        std::uint32_t Next;
    };
    static std::uint32_t Hash(std::string_view name);
    // Position of name in slots_, or of the empty slot where it would go.
    std::size_t SlotOf(std::string_view name, std::uint32_t hash) const;
    void Rebuild(std::size_t capacity);

    std::vector<TLabelEntry> entries_;
    std::string names_;
    std::vector<TFixUp> fixUps_;
    // 0 for an empty slot, else the name's hash in the high half and entry index + 1 below.
    std::vector<std::uint64_t> slots_;
};

template <typename TPlace>
bool TLabelTable::TakeFixUps(TLabelEntry& entry, TPlace place) {
    while (entry.FirstFixUp != TLabelEntry::None) {
        if (!place(fixUps_[entry.FirstFixUp].Address)) return false;
        entry.FirstFixUp = fixUps_[entry.FirstFixUp].Next;
    }
    entry.LastFixUp = TLabelEntry::None;
    return true;
}
