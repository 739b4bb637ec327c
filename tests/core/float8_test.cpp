#include <gtest/gtest.h>

#include "core/float8.h"

namespace {

TEST(Float8, DecodeReadsSignExponentMantissa) {
    const std::pair<int, int> cases[] = {
        {0x00, 0}, {0x04, 4}, {0x12, 4},  {0x7F, 1920}, {0xFF, -1920},
        {0x80, 0}, {0x70, 0}, {0x81, -1}, {0x18, 16},   {0x0F, 15},
    };
    for (auto [byte, value] : cases) EXPECT_EQ(DecodeFloat8(byte), value) << std::hex << byte;
}

TEST(Float8, EncodeTruncatesNormalisesAndWrapsTheExponent) {
    const std::pair<int, int> cases[] = {
        {0, 0x00},    {1, 0x01},    {15, 0x0F},   {16, 0x18},    {17, 0x18},
        {-1, 0x81},   {-2, 0x82},   {3, 0x03},    {1920, 0x7F},  {-1920, 0xFF},
        {2048, 0x08}, {3840, 0x0F}, {2880, 0x0B}, {-3840, 0x8F}, {31, 0x1F},
    };
    for (auto [value, byte] : cases) EXPECT_EQ(EncodeFloat8(value), byte) << value;
}

TEST(Float8, EveryByteRoundTripsToTheSameValue) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(DecodeFloat8(EncodeFloat8(DecodeFloat8(b))), DecodeFloat8(b)) << b;
}

}  // namespace
