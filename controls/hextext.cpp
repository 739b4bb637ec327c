#include "controls/hextext.h"

#include <cstdint>

std::string FormatHexCell(int value, int digits) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    auto bits = static_cast<std::uint32_t>(value);
    std::string text;
    do {
        text.insert(text.begin(), Digits[bits & 15u]);
        bits >>= 4;
    } while (bits != 0);
    if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
    return text;
}

int ParseHexCell(std::string_view text) {
    std::uint32_t value = 0;  // unsigned: long pasted texts wrap instead of overflowing
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return -1;
        value = value * 16u + static_cast<std::uint32_t>(digit);
    }
    return static_cast<int>(value);
}
