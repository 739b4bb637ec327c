#include "core/float8.h"

int DecodeFloat8(int byte) {
    const int mantissa = byte & 0x0F;
    const int exponent = (byte & 0x70) >> 4;
    const int magnitude = mantissa << exponent;
    return (byte & 0x80) ? -magnitude : magnitude;
}

int EncodeFloat8(int value) {
    const int sign = value < 0 ? 1 : 0;
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    int exponent = 0;
    while (magnitude > 15) {
        magnitude >>= 1;
        ++exponent;
    }
    // An exponent of 8 or more wraps: the format keeps only three bits of it.
    exponent &= 7;
    return sign * 128 + exponent * 16 + static_cast<int>(magnitude);
}
