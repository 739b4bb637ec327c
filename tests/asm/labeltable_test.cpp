#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/labeltable.h"
#include "asm_fixture.h"

namespace {

TEST(LabelTable, FindsEveryNameAfterGrowingAndAfterClear) {
    TLabelTable table;
    EXPECT_EQ(table.Find("x"), nullptr);  // before the first Clear
    for (int round = 0; round < 2; ++round) {
        table.Clear();
        for (int i = 0; i < 5000; ++i) table.Add("L" + std::to_string(i), i & 0xFF, i, round);
        ASSERT_EQ(table.Entries().size(), 5000u);
        for (int i : {0, 1, 63, 64, 4095, 4999}) {
            const TLabelEntry* entry = table.Find("L" + std::to_string(i));
            ASSERT_NE(entry, nullptr) << i;
            EXPECT_EQ(table.Name(*entry), "L" + std::to_string(i));
            EXPECT_EQ(entry->Line, i);
            EXPECT_EQ(entry->Column, round);
        }
        EXPECT_EQ(table.Find("L5000"), nullptr);
        EXPECT_EQ(table.Find("l1"), nullptr);  // case matters
        EXPECT_EQ(table.Find(""), nullptr);
    }
}

TEST(LabelTable, PlacesPendingUsesOldestFirstAndKeepsThoseNotPlaced) {
    TLabelTable table;
    table.Clear();
    TLabelEntry& a = table.Add("a", 0, 0, 0);
    EXPECT_TRUE(a.Defined());
    for (std::uint8_t address : {7, 3, 9, 1}) table.AddFixUp(a, address);
    EXPECT_FALSE(a.Defined());

    std::vector<int> placed;
    EXPECT_FALSE(table.TakeFixUps(a, [&](int address) {
        if (address == 9) return false;
        placed.push_back(address);
        return true;
    }));
    EXPECT_EQ(placed, (std::vector<int>{7, 3}));
    EXPECT_FALSE(a.Defined());

    placed.clear();
    table.AddFixUp(a, 5);
    EXPECT_TRUE(table.TakeFixUps(a, [&](int address) {
        placed.push_back(address);
        return true;
    }));
    EXPECT_EQ(placed, (std::vector<int>{9, 1, 5}));
    EXPECT_TRUE(a.Defined());
}

TEST(LabelTable, AssemblerKeepsThousandsOfLabelsApart) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "org " + std::to_string(i % 256) + "\nL" + std::to_string(i) + ":\n";
    text += "org 0\njmp L1234\njmp L9999\njmp L255\njmp later\njmp never\njmp Later\nlater: halt\n";
    const TAssembly a = AssembleText(text);
    EXPECT_EQ(a.Reports, (std::vector<TReport>{{20005, 9, "Label is not defined: never"},
                                               {20006, 9, "Label is not defined: Later"}}));
    EXPECT_EQ(Bytes(a, 0, 14), (std::vector<int>{0xB0, 0xD2, 0xB0, 0x0F, 0xB0, 0xFF, 0xB0, 0x0C,
                                                 0xB0, 0x00, 0xB0, 0x00, 0xC0, 0x00}));
}

}  // namespace
