#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/hex.h"

namespace {

struct TFormatCase {
    int Value, Digits;
    const char* Text;
};

TEST(Hex, FormatPadsAndKeepsEveryDigit) {
    const TFormatCase cases[] = {
        {0x7, 2, "07"}, {0xAB, 2, "AB"},          {0x2A, 4, "002A"},     {0x1FF, 2, "1FF"},
        {0, 2, "00"},   {-1, 2, "FFFFFFFF"},      {-256, 4, "FFFFFF00"}, {0x2A, 10, "000000002A"},
        {0, 0, "0"},    {INT_MIN, 1, "80000000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatHex(c.Value, c.Digits), c.Text) << c.Text;
}

TEST(Hex, ParseReadsEitherCaseAndRefusesAnythingElse) {
    const std::pair<const char*, int> cases[] = {
        {"", 0},      {"3C", 0x3C},
        {"3c", 0x3C}, {"C0DE", 0xC0DE},
        {"3 ", -1},   {"3G", -1},
        {"-1", -1},   {"123456789", 0x23456789},  // wraps, as a long pasted text does
    };
    for (auto [text, value] : cases) EXPECT_EQ(ParseHex(text), value) << text;
}

TEST(Hex, DigitValueStopsAtTheNeighboursOfEachRange) {
    const std::pair<char, int> cases[] = {
        {'0', 0},  {'9', 9},  {'A', 10}, {'F', 15}, {'a', 10}, {'f', 15},
        {'/', -1}, {':', -1}, {'@', -1}, {'G', -1}, {'`', -1}, {'g', -1},
    };
    for (auto [c, value] : cases) EXPECT_EQ(HexDigitValue(c), value) << c;
}

TEST(Hex, WriteAndByteKeepExactlyTheirDigits) {
    const TFormatCase cases[] = {
        {0x1FF, 2, "FF"}, {-1, 2, "FF"}, {0xC0DE, 1, "E"}, {-2, 8, "FFFFFFFE"}, {0x5, 4, "0005"},
    };
    for (const auto& c : cases) {
        std::string out(9, '#');
        char* end = WriteHex(out.data(), c.Value, c.Digits);
        EXPECT_EQ(std::string(out.data(), end), c.Text);
        EXPECT_EQ(out[c.Digits], '#') << "wrote past its digits";
        if (c.Digits == 2) {
            EXPECT_EQ(HexByte(c.Value), c.Text);
        }
    }
}

}  // namespace
