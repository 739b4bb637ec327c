#pragma once
// The addresses where Run stops before executing. They belong to the running program, not
// to memory: edits, assemblies and loads leave them, and images do not carry them.

#include <bitset>

class TBreakpoints {
public:
    bool Has(int address) const { return InRange(address) && set_.test(Bit(address)); }
    // Outside 0..255 nothing changes.
    void Toggle(int address) {
        if (InRange(address)) set_.flip(Bit(address));
    }
    void Clear() { set_.reset(); }
    bool Empty() const { return set_.none(); }
    const std::bitset<256>& Addresses() const { return set_; }

private:
    static bool InRange(int address) { return address >= 0 && address <= 255; }
    static std::size_t Bit(int address) { return static_cast<std::size_t>(address); }

    std::bitset<256> set_;
};
