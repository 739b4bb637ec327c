#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "asm_fixture.h"
#include "tests/support/resident.h"

namespace {

const std::string TooLong = "Line too long.";

TEST(Robustness, MillionCharacterLines) {
    const std::string mega(1'000'000, 'a');
    std::string items = "db ";
    for (int i = 0; i < 300'000; ++i) items += "1,";
    const struct {
        std::string line;
        std::vector<TReport> reports;
    } cases[] = {
        {mega, {{0, 998, TooLong}, {0, 1'000'000, "Unexpected end of line. Expected: ':'"}}},
        {std::string(1'000'000, ','),
         {{0, 998, TooLong}, {0, 0, "Syntax error. Expected: label, mnemonic"}}},
        {"db '" + mega,
         {{0, 998, TooLong}, {0, 1'000'004, "Unexpected end of string. Expected: '"}}},
        {"; " + mega, {{0, 998, TooLong}}},
        {"halt " + std::string(1'000'000, ' '), {{0, 998, TooLong}}},
        {items,
         {{0, 998, TooLong}, {0, 0, "Cannot emit code: Address above 255. Assembly aborted."}}},
        {"x" + mega + ": halt", {{0, 998, TooLong}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AssembleText(c.line).Reports, c.reports) << c.line.substr(0, 10);
}

// A line of many small tokens costs about its own size to assemble, not a token record
// per character.
TEST(Robustness, LongLinesCostAboutTheirOwnSize) {
    std::string items = "db ";
    for (int i = 0; i < 4'000'000; ++i) items += "1,";
    std::string commas = "x:" + std::string(8'000'000, ',');
    for (const std::string* line : {&items, &commas}) {
        if (!std::ofstream("/proc/self/clear_refs") || Resident("VmHWM") < 0)
            GTEST_SKIP() << "the peak of resident memory cannot be reset here";
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from now
        const long long before = Resident("VmRSS");
        const TAssembly assembly = AssembleText(*line);
        const long long peak = Resident("VmHWM") - before;
        ASSERT_FALSE(assembly.Reports.empty());
        EXPECT_EQ(assembly.Reports[0], (TReport{0, 998, TooLong}));
        EXPECT_LT(peak, 3 * static_cast<long long>(line->size())) << line->substr(0, 4);
    }
}

TEST(Robustness, MillionLines) {
    std::string comments;
    for (int i = 0; i < 1'000'000; ++i) comments += "  ; line\r\n";
    EXPECT_TRUE(AssembleText(comments).Reports.empty());

    std::string blanks(1'000'000, '\n');
    blanks += "jmp nowhere";
    EXPECT_EQ(AssembleText(blanks).Reports,
              (std::vector<TReport>{{1'000'000, 11, "Label is not defined: nowhere"}}));
}

TEST(Robustness, BinaryJunkAndNulBytes) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 20; ++round) {
        std::string junk(20'000, '\0');
        for (char& c : junk) c = static_cast<char>(random() & 0xFF);
        TMemoryTextSource source(junk);
        TAsmParser parser(source);
        parser.Assemble([&](void*, int line, int column, std::string_view message) {
            ASSERT_GE(line, 0);
            ASSERT_LT(line, source.LineCount());
            ASSERT_GE(column, 0);
            ASSERT_LE(column, static_cast<int>(source.LineText(line).size()));
            ASSERT_FALSE(message.empty());
        });
        for (int a = 0; a < 256; ++a) ASSERT_LE(parser.MemoryByte(a), 255);
    }
    const TAssembly nul = AssembleText(std::string("halt\0\0\nx:\0db 0\n", 15));
    EXPECT_EQ(nul.Reports,
              (std::vector<TReport>{{0, 4, "Extra characters on line. Expected: nothing"},
                                    {1, 2, "Unknown identifier. Expected: mnemonic, nothing"}}));
}

}  // namespace
