#pragma once
// Hex as the whole simulator writes and reads it: upper-case digits out, either
// case in.

#include <string>
#include <string_view>

inline constexpr char HexDigitChars[] = "0123456789ABCDEF";

// Writes exactly digits (1 to 8) digits of the low 4 * digits bits of value at out and
// returns their end, without a terminator. Inline, as the trace writes millions of lines
// a second with it.
inline char* WriteHex(char* out, int value, int digits) {
    for (int d = digits - 1; d >= 0; --d) *out++ = HexDigitChars[(value >> (4 * d)) & 0xF];
    return out;
}

// Upper-case hex, zero-padded to at least digits; wider values keep every digit and a
// negative value shows its 32-bit two's complement (eight digits).
std::string FormatHex(int value, int digits);

// The low byte of value as exactly two digits ("0E").
std::string HexByte(int value);

// The value of a hex digit of either case; -1 for any other character.
int HexDigitValue(char c);

// Hex digits of either case, read left to right without an overflow check; an empty
// text is 0 and a text holding anything but hex digits is -1.
int ParseHex(std::string_view text);
