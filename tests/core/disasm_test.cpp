#include <gtest/gtest.h>

#include <sstream>

#include "core/disasm.h"
#include "core/instruction.h"
#include "machine_fixture.h"

namespace {

TEST(Disassemble, LineTexts) {
    struct Case {
        int address, b1, b2;
        const char* line;
    };
    const Case cases[] = {
        {0x04, 0x21, 0xA0, "04:  21,A0  load  R1,A0      ;... ($A0=-96)"},
        {0x06, 0x2F, 0x41, "06:  2F,41  load  RF,41      ;... ($41=65)"},
        {0x00, 0x00, 0x00, "00:  00,00  invalid"},
        {0x12, 0x40, 0x25, "12:  40,25  move  R5,R2      ;..."},
        {0x14, 0xA3, 0x05, "14:  A3,05  ror   R3,5       ;..."},
        {0x16, 0xA3, 0x0B, "16:  A3,0B  ror   R3,B       ;..."},
        {0x20, 0xA3, 0x15, "20:  A3,15  invalid"},
        {0x1A, 0xB0, 0x20, "1A:  B0,20  jmpEQ R0=R0,20   ;..."},
        {0x1C, 0xB3, 0x2E, "1C:  B3,2E  jmpEQ R3=R0,2E   ;..."},
        {0x30, 0x13, 0x80, "30:  13,80  load  R3,[80]    ;..."},
        {0x32, 0x3A, 0xFF, "32:  3A,FF  store RA,[FF]    ;..."},
        {0x34, 0x51, 0x23, "34:  51,23  addi  R1,R2,R3   ;..."},
        {0x36, 0x6F, 0xED, "36:  6F,ED  addf  RF,RE,RD   ;..."},
        {0x38, 0x71, 0x23, "38:  71,23  or    R1,R2,R3   ;..."},
        {0x3A, 0x81, 0x23, "3A:  81,23  and   R1,R2,R3   ;..."},
        {0x3C, 0x91, 0x23, "3C:  91,23  xor   R1,R2,R3   ;..."},
        {0x3E, 0xC0, 0x00, "3E:  C0,00  halt             ;..."},
        {0x40, 0xC0, 0x01, "40:  C0,01  invalid"},
        {0x42, 0xD0, 0x12, "42:  D0,12  load  R1,[R2]    ;..."},
        {0x44, 0xD1, 0x23, "44:  D1,23  invalid"},
        {0x46, 0xE0, 0x45, "46:  E0,45  store R4,[R5]    ;..."},
        {0x48, 0xE4, 0x56, "48:  E4,56  invalid"},
        {0x4A, 0xF2, 0x7C, "4A:  F2,7C  jmpLE R2<=R0,7C  ;..."},
        {0x4C, 0x41, 0x25, "4C:  41,25  move  R5,R2      ;..."},
        {0x4E, 0x20, 0x80, "4E:  20,80  load  R0,80      ;... ($80=-128)"},
        {0x50, 0x20, 0x7F, "50:  20,7F  load  R0,7F      ;... ($7F=127)"},
    };
    for (const Case& c : cases) {
        TTestMachine m;
        m.Poke(c.address, {c.b1, c.b2});
        int word = -1;
        EXPECT_EQ(DisassembleAt(m.MainMemory, c.address, word), c.line);
        EXPECT_EQ(word, c.b1 * 256 + c.b2);
        EXPECT_EQ(DisassembleAt(m.MainMemory, c.address), c.line);
    }
}

TEST(Disassemble, InvalidTextExactlyWhenExecutionSaysInvalid) {
    for (int w = 0; w < 65536; ++w) {
        TTestMachine m;
        m.Poke(0, {w >> 8, w & 0xFF});
        const bool textInvalid = DisassembleAt(m.MainMemory, 0).substr(12) == "invalid";
        ASSERT_EQ(textInvalid, m.Step() == TStepResult::Invalid) << std::hex << w;
    }
}

TEST(Disassemble, AddressFFTakesItsSecondByteFromZero) {
    TTestMachine m;
    m.Poke(0xFF, {0x2F});
    m.Poke(0x00, {0x41});
    EXPECT_EQ(DisassembleAt(m.MainMemory, 0xFF), "FF:  2F,41  load  RF,41      ;... ($41=65)");
}

std::string Listing(TTestMachine& m, int pc) {
    std::ostringstream out;
    WriteListing(out, m.MainMemory, pc);
    return out.str();
}

TEST(Listing, ZeroRunsBecomeTwoDittoLines) {
    const std::string ditto = std::string(14, ' ') + "\"\r\n";
    TTestMachine zeros;
    EXPECT_EQ(Listing(zeros, 0), "00:  00,00  invalid\r\n" + ditto + ditto);

    TTestMachine m;
    m.Poke(0, {0x12, 0x34});
    EXPECT_EQ(Listing(m, 0),
              "00:  12,34  load  R2,[34]    ;...\r\n02:  00,00  invalid\r\n" + ditto + ditto);

    // A non-zero word ends a run; the next run starts afresh.
    m.Poke(0x20, {0xC0, 0x00});
    const std::string text = Listing(m, 0);
    EXPECT_NE(text.find(ditto + "20:  C0,00  halt             ;...\r\n22:  00,00  invalid\r\n" +
                        ditto + ditto),
              std::string::npos);
    EXPECT_EQ(text.size(), text.rfind(ditto) + ditto.size());
}

TEST(Listing, OddPcListsOddAddressesUpToFF) {
    TTestMachine m;
    m.Poke(0xFF, {0xC0});
    m.Poke(0x00, {0x00});
    m.Poke(0x01, {0x2F, 0x41});
    const std::string text = Listing(m, 0x31);
    EXPECT_EQ(text.rfind("01:  2F,41", 0), 0u);
    EXPECT_NE(text.find("FF:  C0,00  halt"), std::string::npos);
}

TEST(Listing, FileNameUsesTheTemporaryFolderUnlessTheNameHasOne) {
    EXPECT_EQ(ListingFileName("QZasm.lst", "/tmp/"), "/tmp/QZasm.lst");
    EXPECT_EQ(ListingFileName("/home/u/out.lst", "/tmp/"), "/home/u/out.lst");
    EXPECT_EQ(ListingFileName("sub/out.lst", "/tmp/"), "sub/out.lst");
}

TEST(DisasmList, StartsWithAlignmentZeroForZeroMemory) {
    TDisasmList list;
    EXPECT_EQ(list.Alignment(), 0);
    EXPECT_EQ(list.Line(0), "00:  00,00  invalid");
    EXPECT_EQ(list.Line(127), "FE:  00,00  invalid");
}

TEST(DisasmList, OddAlignmentEndsWithTheLineOfFF) {
    TTestMachine m;
    m.Poke(0x00, {0x99});
    TDisasmList list;
    const auto change = list.PcChanged(m.MainMemory, PcIndex, 1);
    EXPECT_TRUE(change.Rebuilt);
    EXPECT_EQ(list.Line(0).substr(0, 3), "01:");
    EXPECT_EQ(list.Line(127), "FF:  00,99  invalid");
    // Changing the byte at 00 rewrites that last line.
    m.Poke(0x00, {0x20});
    m.Poke(0xFF, {0xB0});
    const auto mem = list.MemoryChanged(m.MainMemory, 0x00, 0x99, 0x20, 1, false, 0);
    EXPECT_EQ(mem.Line, 127);
    EXPECT_EQ(list.Line(127), "FF:  B0,20  jmpEQ R0=R0,20   ;...");
}

TEST(DisasmList, PcChangeMovesSelectionAndRebuildsOnlyOnParityChange) {
    struct Case {
        int from, to;
        bool handled, rebuilt;
        int select, top;
    };
    const Case cases[] = {
        {0x02, 0x04, true, false, 2, 0},   {0x02, 0x03, true, true, 1, 0},
        {0x02, 0x02, true, false, 1, 0},   {0x00, 0x20, true, false, 16, 13},
        {0x40, 0x40, true, false, 32, 29}, {0x00, 0xFF, true, true, 127, 124},
    };
    for (const Case& c : cases) {
        TTestMachine m;
        TDisasmList list;
        list.Rebuild(m.MainMemory, c.from & 1);
        const auto change = list.PcChanged(m.MainMemory, PcIndex, c.to);
        EXPECT_EQ(change.Handled, c.handled) << c.from << "->" << c.to;
        if (!c.handled) continue;
        EXPECT_EQ(change.Rebuilt, c.rebuilt) << c.from << "->" << c.to;
        EXPECT_EQ(change.SelectLine, c.select);
        EXPECT_EQ(change.TopLine, c.top);
        EXPECT_EQ(list.Alignment(), c.to & 1);
    }
    TDisasmList list;
    TTestMachine m;
    EXPECT_FALSE(list.PcChanged(m.MainMemory, IrIndex, 0x1234).Handled);
}

TEST(DisasmList, UserWriteMarksAndScrollsProgramWriteDoesNeither) {
    for (bool executing : {false, true}) {
        TTestMachine m;
        TDisasmList list;
        m.Poke(0x41, {0x07});
        const auto change = list.MemoryChanged(m.MainMemory, 0x41, 0, 7, 0x40, executing, 9);
        EXPECT_TRUE(change.Handled);
        EXPECT_EQ(change.Line, 0x20);
        EXPECT_EQ(list.Line(0x20), "40:  00,07  invalid");
        EXPECT_EQ(change.MarkModified, !executing);
        EXPECT_EQ(change.TopLine, executing ? 9 : 0x20 - 3);
        EXPECT_TRUE(change.Reselect);  // PC sits on 40
    }
    TTestMachine m;
    TDisasmList list;
    EXPECT_FALSE(list.MemoryChanged(m.MainMemory, 5, 3, 3, 0, false, 0).Handled);
    EXPECT_FALSE(list.MemoryChanged(m.MainMemory, 5, 3, 4, 0, false, 0).Reselect);
}

}  // namespace
