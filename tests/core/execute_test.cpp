#include <gtest/gtest.h>

#include <vector>

#include "core/instruction.h"
#include "machine_fixture.h"

namespace {

// One instruction at 00 with some registers set; checks the destination register.
struct RegisterCase {
    const char* name;
    int b1, b2;
    std::vector<std::pair<int, int>> regs;
    int dest, expected;
};

TEST(Execute, RegisterResults) {
    const RegisterCase cases[] = {
        {"load immediate", 0x21, 0xA0, {}, 1, 0xA0},
        {"move R2 into R5", 0x40, 0x25, {{2, 0x77}}, 5, 0x77},
        {"move ignores R nibble", 0x41, 0x25, {{2, 0x66}}, 5, 0x66},
        {"addi wraps", 0x53, 0x12, {{1, 0xFF}, {2, 0x01}}, 3, 0x00},
        {"addi 80+80", 0x53, 0x12, {{1, 0x80}, {2, 0x80}}, 3, 0x00},
        {"addf 7F+7F", 0x63, 0x12, {{1, 0x7F}, {2, 0x7F}}, 3, 0x0F},
        {"addf 7F+6F", 0x63, 0x12, {{1, 0x7F}, {2, 0x6F}}, 3, 0x0B},
        {"addf FF+FF", 0x63, 0x12, {{1, 0xFF}, {2, 0xFF}}, 3, 0x8F},
        {"addf 01+81", 0x63, 0x12, {{1, 0x01}, {2, 0x81}}, 3, 0x00},
        {"addf 0F+01", 0x63, 0x12, {{1, 0x0F}, {2, 0x01}}, 3, 0x18},
        {"addf 11+01", 0x63, 0x12, {{1, 0x11}, {2, 0x01}}, 3, 0x03},
        {"addf 03+85", 0x63, 0x12, {{1, 0x03}, {2, 0x85}}, 3, 0x82},
        {"addf 70+00", 0x63, 0x12, {{1, 0x70}, {2, 0x00}}, 3, 0x00},
        {"addf 80+00", 0x63, 0x12, {{1, 0x80}, {2, 0x00}}, 3, 0x00},
        {"or", 0x73, 0x12, {{1, 0xF0}, {2, 0x0C}}, 3, 0xFC},
        {"and", 0x83, 0x12, {{1, 0xF0}, {2, 0x3C}}, 3, 0x30},
        {"xor", 0x93, 0x12, {{1, 0xFF}, {2, 0x0F}}, 3, 0xF0},
        {"ror 01 by 1", 0xA1, 0x01, {{1, 0x01}}, 1, 0x80},
        {"ror by 8 unchanged", 0xA1, 0x08, {{1, 0x01}}, 1, 0x01},
        {"ror by 0 unchanged", 0xA2, 0x00, {{2, 0x5A}}, 2, 0x5A},
        {"ror by 9 is by 1", 0xA2, 0x09, {{2, 0x03}}, 2, 0x81},
        {"ror by 3", 0xA3, 0x03, {{3, 0x0F}}, 3, 0xE1},
        {"same source twice", 0x51, 0x11, {{1, 0x21}}, 1, 0x42},
    };
    for (const RegisterCase& c : cases) {
        TTestMachine m;
        m.Poke(0, {c.b1, c.b2});
        m.SetRegs(c.regs);
        EXPECT_EQ(m.Step(), TStepResult::Executed) << c.name;
        EXPECT_EQ(m.Reg(c.dest), c.expected) << c.name;
        EXPECT_EQ(m.Pc(), 2) << c.name;
        EXPECT_EQ(m.Ir(), c.b1 * 256 + c.b2) << c.name;
    }
}

TEST(Execute, MemoryLoadsAndStores) {
    TTestMachine m;
    m.Poke(0, {0x13, 0x80, 0x33, 0x81, 0xD0, 0x45, 0xE0, 0x46});
    m.Poke(0x80, {0x5C});
    m.SetRegs({{5, 0x80}, {6, 0x90}});
    ASSERT_EQ(m.Step(), TStepResult::Executed);  // load R3,[80]
    EXPECT_EQ(m.Reg(3), 0x5C);
    ASSERT_EQ(m.Step(), TStepResult::Executed);  // store R3,[81]
    EXPECT_EQ(m.Mem(0x81), 0x5C);
    ASSERT_EQ(m.Step(), TStepResult::Executed);  // load R4,[R5]
    EXPECT_EQ(m.Reg(4), 0x5C);
    ASSERT_EQ(m.Step(), TStepResult::Executed);  // store R4,[R6]
    EXPECT_EQ(m.Mem(0x90), 0x5C);
}

TEST(Execute, IndirectLoadThroughTheSameRegister) {
    TTestMachine m;
    m.Poke(0, {0xD0, 0x11});  // load R1,[R1]
    m.Poke(0x40, {0x99});
    m.SetRegs({{1, 0x40}});
    ASSERT_EQ(m.Step(), TStepResult::Executed);
    EXPECT_EQ(m.Reg(1), 0x99);
}

TEST(Execute, Jumps) {
    struct Case {
        const char* name;
        int b1, b2, r, rValue, r0, expectedPc;
    };
    const Case cases[] = {
        {"jmp always", 0xB0, 0x20, 0, 0, 0, 0x20},
        {"jmpEQ equal", 0xB1, 0x30, 1, 0x44, 0x44, 0x30},
        {"jmpEQ different", 0xB1, 0x30, 1, 0x44, 0x45, 0x02},
        {"jmpLE -128 <= 127", 0xF1, 0x20, 1, 0x80, 0x7F, 0x20},
        {"jmpLE 127 > -128", 0xF1, 0x20, 1, 0x7F, 0x80, 0x02},
        {"jmpLE -1 <= 1", 0xF1, 0x20, 1, 0xFF, 0x01, 0x20},
        {"jmpLE 1 > -1", 0xF1, 0x20, 1, 0x01, 0xFF, 0x02},
        {"jmpLE equal", 0xF2, 0x44, 2, 0x10, 0x10, 0x44},
        {"jmpLE R0 with itself", 0xF0, 0x08, 0, 0x90, 0x90, 0x08},
    };
    for (const Case& c : cases) {
        TTestMachine m;
        m.Poke(0, {c.b1, c.b2});
        m.SetRegs({{0, c.r0}});
        if (c.r != 0) m.SetRegs({{c.r, c.rValue}});
        EXPECT_EQ(m.Step(), TStepResult::Executed) << c.name;
        EXPECT_EQ(m.Pc(), c.expectedPc) << c.name;
    }
}

TEST(Execute, InvalidWordsChangeOnlyPcAndIr) {
    const std::pair<int, int> words[] = {{0x00, 0x00}, {0x0F, 0xFF}, {0xA1, 0x13}, {0xA2, 0x10},
                                         {0xC0, 0x01}, {0xC1, 0x00}, {0xD1, 0x23}, {0xE4, 0x56}};
    for (auto [b1, b2] : words) {
        TTestMachine m;
        m.Poke(0x10, {b1, b2});
        m.SysRegs.SetContents(PcIndex, 0x10);
        for (int r = 0; r < 16; ++r) m.Registers.SetContents(r, 0x11 * r);
        int writes = 0;
        m.MainMemory.OnCellChanged = [&](CellStore*, int, int, int) { ++writes; };
        m.Registers.OnCellChanged = [&](CellStore*, int, int, int) { ++writes; };
        EXPECT_EQ(m.Step(), TStepResult::Invalid) << std::hex << b1 << b2;
        EXPECT_EQ(writes, 0);
        EXPECT_EQ(m.Pc(), 0x12);
        EXPECT_EQ(m.Ir(), b1 * 256 + b2);
        for (int r = 0; r < 16; ++r) EXPECT_EQ(m.Reg(r), 0x11 * r);
    }
}

TEST(Execute, HaltAdvancesPcAndTheNextStepGoesOn) {
    TTestMachine m;
    m.Poke(0x10, {0xC0, 0x00, 0x21, 0x07});
    m.SysRegs.SetContents(PcIndex, 0x10);
    EXPECT_EQ(m.Step(), TStepResult::Halted);
    EXPECT_EQ(m.Pc(), 0x12);
    EXPECT_EQ(m.Ir(), 0xC000);
    EXPECT_EQ(m.Step(), TStepResult::Executed);
    EXPECT_EQ(m.Reg(1), 0x07);
}

TEST(Execute, InstructionAtFFWrapsToZero) {
    TTestMachine m;
    m.Poke(0xFF, {0x22});
    m.Poke(0x00, {0x5E});
    m.SysRegs.SetContents(PcIndex, 0xFF);
    EXPECT_EQ(m.Step(), TStepResult::Executed);
    EXPECT_EQ(m.Reg(2), 0x5E);
    EXPECT_EQ(m.Pc(), 0x01);
    EXPECT_EQ(m.Ir(), 0x225E);
}

TEST(Execute, PcIsWrittenBeforeIrAndBeforeTheInstructionsOwnWrite) {
    TTestMachine m;
    m.Poke(0, {0xB0, 0x40});
    std::vector<std::pair<int, int>> writes;
    m.SysRegs.OnCellChanged = [&](CellStore*, int i, int, int v) { writes.emplace_back(i, v); };
    m.Step();
    const std::vector<std::pair<int, int>> expected = {
        {PcIndex, 2}, {IrIndex, 0xB040}, {PcIndex, 0x40}};
    EXPECT_EQ(writes, expected);
}

TEST(Execute, ExecutingIsTrueOnlyDuringAnInstruction) {
    TTestMachine m;
    m.Poke(0, {0x31, 0x50});
    struct TWatch final : TSimulationObserver {
        const TSimulation& Sim;
        bool DuringWrite = false;
        explicit TWatch(const TSimulation& sim) : Sim(sim) {}
        void MemoryChanged(const TCellChange&) override { DuringWrite = Sim.Executing(); }
    } watch(m.Simulation);
    m.Simulation.AddObserver(&watch);
    EXPECT_FALSE(m.Simulation.Executing());
    m.Simulation.Step();
    EXPECT_TRUE(watch.DuringWrite);
    EXPECT_FALSE(m.Simulation.Executing());
    m.MainMemory.SetContents(0x51, 1);  // the user's write
    EXPECT_FALSE(watch.DuringWrite);
    m.Simulation.RemoveObserver(&watch);
}

TEST(Execute, EveryWriteToRFIsOutputEvenWhenRepeated) {
    TTestMachine m;
    // load RF,41 twice; move R1 to RF; addi RF,R1,R1; load RF,[20]; halt
    m.Poke(0, {0x2F, 0x41, 0x2F, 0x41, 0x40, 0x1F, 0x5F, 0x11, 0x1F, 0x20, 0xC0, 0x00});
    m.Poke(0x20, {0x5A});
    m.SetRegs({{1, 0x21}});
    m.Output.clear();
    EXPECT_EQ(RunSteps(m.Stores(), 100), TStepResult::Halted);
    EXPECT_EQ(m.Output, std::string("AA!BZ"));
}

TEST(Execute, ReadingOrComparingRFPrintsNothing) {
    TTestMachine m;
    m.Poke(0, {0x3F, 0x80, 0xBF, 0x06, 0x51, 0xFF, 0xC0, 0x00});
    m.SetRegs({{15, 0x41}});
    m.Output.clear();
    RunSteps(m.Stores(), 10);
    EXPECT_EQ(m.Output, "");
}

TEST(Execute, ProgramOfZerosStopsAtOnce) {
    TTestMachine m;
    long long executed = 0;
    EXPECT_EQ(RunStepsCounted(m.Stores(), 1000, executed), TStepResult::Invalid);
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(m.Pc(), 2);
}

TEST(Execute, RunStepsCountsAndStopsAtTheLimit) {
    TTestMachine m;
    m.Poke(0, {0xB0, 0x00});  // jmp 00 forever
    long long executed = 0;
    EXPECT_EQ(RunStepsCounted(m.Stores(), 12345, executed), TStepResult::Executed);
    EXPECT_EQ(executed, 12345);
    EXPECT_EQ(RunSteps(m.Stores(), 0), TStepResult::Executed);
    EXPECT_EQ(RunSteps(m.Stores(), -3), TStepResult::Executed);
    EXPECT_EQ(m.Ir(), 0xB000);
}

// A store that is not the plain one takes the general path with the same results.
class TLoggingStore final : public CellStore {
public:
    explicit TLoggingStore(int n) : inner_(n) {}
    int GetContents(int i) const override { return inner_.GetContents(i); }
    void SetContents(int i, int v) override {
        inner_.SetContents(i, v);
        ++writes;
    }
    int Count() const override { return inner_.Count(); }
    int writes = 0;

private:
    TCellStore inner_;
};

TEST(Execute, RunsOnAnyCellStore) {
    TLoggingStore memory(256), registers(16), sysRegs(2);
    const int program[] = {0x21, 0x05, 0x22, 0x03, 0x53, 0x12, 0x33, 0x40, 0xC0, 0x00};
    for (int i = 0; i < 10; ++i) memory.SetContents(i, program[i]);
    EXPECT_EQ(RunSteps({memory, registers, sysRegs}, 100), TStepResult::Halted);
    EXPECT_EQ(memory.GetContents(0x40), 8);
    EXPECT_EQ(sysRegs.GetContents(PcIndex), 0x0A);
    EXPECT_EQ(sysRegs.writes, 10);  // PC and IR for each of five instructions
}

// A store may answer a value outside a byte (-1 here): it reads as FF, never as an index.
class TEditingStore final : public CellStore {
public:
    int GetContents(int i) const override { return i == 0x01 ? -1 : inner_.GetContents(i); }
    void SetContents(int i, int v) override { inner_.SetContents(i, v); }
    int Count() const override { return 256; }

private:
    TCellStore inner_{256};
};

TEST(Execute, ValueOutsideAByteIsReadAsAByte) {
    TEditingStore memory;
    TCellStore registers(16), sysRegs(2);
    memory.SetContents(0, 0x11);  // load R1,[xx] with xx answered as -1
    EXPECT_EQ(ExecuteInstruction({memory, registers, sysRegs}), TStepResult::Executed);
    EXPECT_EQ(sysRegs.GetContents(IrIndex), 0x11FF);
}

TEST(Instruction, InvalidWordCountsPerOpcode) {
    int invalid[16] = {};
    for (int w = 0; w < 65536; ++w)
        if (!IsValidInstruction({w})) ++invalid[w >> 12];
    const int expected[16] = {4096, 0, 0,        0, 0,    0,        0,        0,
                              0,    0, 16 * 240, 0, 4095, 16 * 240, 16 * 240, 0};
    for (int op = 0; op < 16; ++op) EXPECT_EQ(invalid[op], expected[op]) << op;
}

}  // namespace
