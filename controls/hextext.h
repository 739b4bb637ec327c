#pragma once
// The text form of a grid cell and the value of an editor text. Qt-free so it is
// usable and testable on its own.

#include <string>
#include <string_view>

// Upper-case hex, zero-padded to at least digits; wider values keep every digit and
// a negative value shows its 32-bit two's complement (eight digits).
std::string FormatHexCell(int value, int digits);

// Hex digits of either case, read left to right without an overflow check; an empty
// text is 0 and a text holding anything but hex digits is -1.
int ParseHexCell(std::string_view text);
