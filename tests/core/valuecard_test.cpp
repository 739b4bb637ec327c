#include <gtest/gtest.h>

#include "core/history.h"
#include "core/valuecard.h"
#include "machine_fixture.h"

namespace {

using TLines = std::vector<std::string>;

TEST(ValueCard, ReadsARegisterInEveryWay) {
    const struct {
        int value;
        TLines lines;  // after the title
    } cases[] = {
        {0x00,
         {"Hex 00  Unsigned 0  Signed 0", "Float8 0 = 0 \u00D7 2^0", "Character NUL (control)"}},
        {0x0A,
         {"Hex 0A  Unsigned 10  Signed 10", "Float8 10 = 10 \u00D7 2^0", "Character LF (control)"}},
        {0x2F, {"Hex 2F  Unsigned 47  Signed 47", "Float8 60 = 15 \u00D7 2^2", "Character '/'"}},
        {0x7F,
         {"Hex 7F  Unsigned 127  Signed 127", "Float8 1920 = 15 \u00D7 2^7",
          "Character DEL (control)"}},
        {0x80,
         {"Hex 80  Unsigned 128  Signed -128", "Float8 0 = -0 \u00D7 2^0", "Character '\u00C7'"}},
        {0x81,
         {"Hex 81  Unsigned 129  Signed -127", "Float8 -1 = -1 \u00D7 2^0", "Character '\u00FC'"}},
        {0xB0,
         {"Hex B0  Unsigned 176  Signed -80", "Float8 0 = -0 \u00D7 2^3", "Character '\u2591'"}},
        {0xFF,
         {"Hex FF  Unsigned 255  Signed -1", "Float8 -1920 = -15 \u00D7 2^7",
          "Character '\u00A0'"}},
    };
    for (const auto& c : cases) {
        TTestMachine m;
        THistory history;
        m.SetRegs({{3, c.value}});
        TLines expected = {"Register R3"};
        expected.insert(expected.end(), c.lines.begin(), c.lines.end());
        EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::Register, 3), expected) << c.value;
    }
}

TEST(ValueCard, MemoryShowsTheInstructionWrappingAtFF) {
    TTestMachine m;
    THistory history;
    m.Poke(0xFF, {0x2F, 0x41});  // the second byte at 00
    const TLines expected = {"Memory [FF]", "Hex 2F  Unsigned 47  Signed 47",
                             "Float8 60 = 15 \u00D7 2^2", "Character '/'",
                             "Instruction 2F41  load  RF,41"};
    EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::Memory, 0xFF), expected);
    EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::Memory, 0x00).back(),
              "Instruction 4100  move  R0,R0");
    m.Poke(0x10, {0x0E, 0x05});
    EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::Memory, 0x10).back(),
              "Instruction 0E05  invalid");
}

TEST(ValueCard, HistoryTellsWhoWroteTheValueUntilCleared) {
    TTestMachine m;
    const THistory& history = m.History();
    // 00 load R1,07   02 store R1,[80]   04 load R1,09   06 halt
    m.Poke(0x00, {0x21, 0x07, 0x31, 0x80, 0x21, 0x09, 0xC0, 0x00});
    m.Poke(0x80, {0x33});
    const auto card = [&](TValueCell cell, int index) {
        return ValueCard(m.Stores(), history, cell, index);
    };
    EXPECT_EQ(card(TValueCell::Memory, 0x80).size(), 5u);  // nothing written yet
    long long executed = 0;
    m.Simulation.Run(4, executed);
    ASSERT_EQ(executed, 4);

    const TLines memory = card(TValueCell::Memory, 0x80);
    ASSERT_EQ(memory.size(), 7u);
    EXPECT_EQ(memory[5], "written by step 2 at 02: store R1,[80]");
    EXPECT_EQ(memory[6], "value before hex 33");
    const TLines reg = card(TValueCell::Register, 1);
    ASSERT_EQ(reg.size(), 6u);
    EXPECT_EQ(reg[4], "written by step 3 at 04: load  R1,09");
    EXPECT_EQ(reg[5], "value before hex 07");
    EXPECT_EQ(card(TValueCell::Register, 2).size(), 4u);  // never written

    m.Simulation.ClearHistory();
    EXPECT_EQ(card(TValueCell::Memory, 0x80).size(), 5u);
    EXPECT_EQ(card(TValueCell::Register, 1).size(), 4u);
}

TEST(ValueCard, SystemRegistersPointAtInstructions) {
    TTestMachine m;
    THistory history;
    m.Poke(0xFE, {0xB0, 0x06});
    m.SysRegs.SetContents(PcIndex, 0xFE);
    m.SysRegs.SetContents(IrIndex, 0x2F41);
    EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::SysReg, PcIndex),
              (TLines{"PC", "Hex FE  Unsigned 254", "Next instruction B006  jmpEQ R0=R0,06"}));
    EXPECT_EQ(ValueCard(m.Stores(), history, TValueCell::SysReg, IrIndex),
              (TLines{"IR", "Instruction 2F41  load  RF,41"}));
}

TEST(ValueCard, NoCardWithoutAValue) {
    TTestMachine m;
    THistory history;
    EXPECT_TRUE(ValueCard(m.Stores(), history, TValueCell::Memory, 256).empty());
    EXPECT_TRUE(ValueCard(m.Stores(), history, TValueCell::Register, -1).empty());
    EXPECT_TRUE(ValueCard(m.Stores(), history, TValueCell::SysReg, 2).empty());
}

}  // namespace
