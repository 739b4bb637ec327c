#pragma once
// The addresses where Run stops before executing. They belong to the running program, not
// to memory: edits and its own reassembly leave them, and images do not carry them.

#include <bitset>

class TBreakpoints {
public:
    bool Has(int address) const { return InRange(address) && set_.test(Bit(address)); }
    // Outside 0..255 nothing changes.
    void Toggle(int address) {
        if (InRange(address)) set_.flip(Bit(address));
    }
    void Clear() { set_.reset(); }
    void Assign(const std::bitset<256>& addresses) { set_ = addresses; }
    int Count() const { return static_cast<int>(set_.count()); }
    bool Empty() const { return set_.none(); }
    const std::bitset<256>& Addresses() const { return set_; }

private:
    static bool InRange(int address) { return address >= 0 && address <= 255; }
    static std::size_t Bit(int address) { return static_cast<std::size_t>(address); }

    std::bitset<256> set_;
};
