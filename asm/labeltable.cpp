#include "asm/labeltable.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <utility>

namespace {

constexpr std::size_t MinCapacity = 64;

// Room for count entries with the index at most half full.
std::size_t CapacityFor(std::size_t count) {
    return std::bit_ceil(std::max(MinCapacity, 2 * count));
}

}  // namespace

void TLabelTable::Clear() {
    const std::size_t capacity = CapacityFor(entries_.size());
    entries_.clear();
    names_.clear();
    fixUps_.clear();
    slots_.assign(capacity, 0);
}

std::uint32_t TLabelTable::Hash(std::string_view name) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
}

std::size_t TLabelTable::SlotOf(std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t pos = hash & mask;; pos = (pos + 1) & mask) {
        const std::uint64_t slot = slots_[pos];
        if (slot == 0) return pos;
        if (slot >> 32 == hash && Name(entries_[(slot & 0xFFFFFFFF) - 1]) == name) return pos;
    }
}

TLabelEntry* TLabelTable::Find(std::string_view name) {
    return const_cast<TLabelEntry*>(std::as_const(*this).Find(name));
}

const TLabelEntry* TLabelTable::Find(std::string_view name) const {
    if (slots_.empty()) return nullptr;
    const std::uint64_t slot = slots_[SlotOf(name, Hash(name))];
    return slot == 0 ? nullptr : &entries_[(slot & 0xFFFFFFFF) - 1];
}

TLabelEntry& TLabelTable::Add(std::string_view name, int value, int line, int column) {
    if (2 * (entries_.size() + 1) > slots_.size()) Rebuild(CapacityFor(entries_.size() + 1));
    const std::uint32_t hash = Hash(name);
    slots_[SlotOf(name, hash)] = std::uint64_t{hash} << 32 | (entries_.size() + 1);
    TLabelEntry entry;
    entry.NameStart = static_cast<std::uint32_t>(names_.size());
    entry.NameLength = static_cast<std::uint32_t>(name.size());
    entry.Line = line;
    entry.Column = column;
    entry.Value = value;
    names_.append(name);
    entries_.push_back(entry);
    return entries_.back();
}

void TLabelTable::AddFixUp(TLabelEntry& entry, std::uint8_t address) {
    const auto index = static_cast<std::uint32_t>(fixUps_.size());
    fixUps_.push_back({address, TLabelEntry::None});
    if (entry.Defined())
        entry.FirstFixUp = index;
    else
        fixUps_[entry.LastFixUp].Next = index;
    entry.LastFixUp = index;
}

void TLabelTable::Rebuild(std::size_t capacity) {
    std::vector<std::uint64_t> old(capacity, 0);
    old.swap(slots_);
    const std::size_t mask = capacity - 1;
    for (const std::uint64_t slot : old) {
        if (slot == 0) continue;
        std::size_t pos = (slot >> 32) & mask;
        while (slots_[pos] != 0) pos = (pos + 1) & mask;
        slots_[pos] = slot;
    }
}
