#include "core/hex.h"

#include <algorithm>
#include <cstdint>

std::string FormatHex(int value, int digits) {
    int needed = 1;
    for (auto bits = static_cast<std::uint32_t>(value) >> 4; bits != 0; bits >>= 4) ++needed;
    std::string text(std::max(needed, digits), '0');
    WriteHex(text.data() + text.size() - needed, value, needed);
    return text;
}

std::string HexByte(int value) {
    std::string text(2, '0');
    WriteHex(text.data(), value, 2);
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int ParseHex(std::string_view text) {
    std::uint32_t value = 0;  // unsigned: long pasted texts wrap instead of overflowing
    for (const char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0) return -1;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return static_cast<int>(value);
}
