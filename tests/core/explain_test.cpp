#include <gtest/gtest.h>

#include "core/explain.h"
#include "core/historystates.h"
#include "core/instruction.h"
#include "machine_fixture.h"

namespace {

// Every case meets these registers, memory[80] = 2A and PC 08, so a jump not taken goes
// on at 0A.
constexpr int CaseRegisters[16] = {0x01, 0x05, 0x0A, 0xFF, 0x01, 0x7F, 0x80, 0x0F,
                                   0x30, 0x3C, 0x11, 0x02, 0x85, 0x70, 0x81, 0x03};

const struct {
    int Word;
    const char* Expected;
} ExplainCases[] = {
    {0x0000, "0000 is not an instruction: the machine stops"},
    {0x1180, "R1 := memory[80] = 2A"},
    {0x2180, "R1 := 80 (the number itself, not memory[80])"},
    {0x3F80, "memory[80] := RF = 03"},
    {0x4125, "R5 := R2 = 0A"},  // the R nibble is ignored
    {0x5312, "R3 := R1 + R2 = 05 + 0A = 0F (5 + 10 = 15)"},
    {0x5034, "R0 := R3 + R4 = FF + 01 = 00 (-1 + 1 = 0)"},
    {0x5054, "R0 := R5 + R4 = 7F + 01 = 80 (127 + 1 = 128, which wraps to -128)"},
    {0x5066, "R0 := R6 + R6 = 80 + 80 = 00 (-128 + -128 = -256, which wraps to 0)"},
    {0x60A4, "R0 := RA + R4 as float8 = 11 + 01 = 03 (2 + 1 = 3)"},
    {0x6074, "R0 := R7 + R4 as float8 = 0F + 01 = 18 (15 + 1 = 16)"},
    {0x607B, "R0 := R7 + RB as float8 = 0F + 02 = 18 (15 + 2 = 17; float8 keeps 16)"},
    {0x6055, "R0 := R5 + R5 as float8 = 7F + 7F = 0F (1920 + 1920 = 3840; float8 keeps 15)"},
    {0x6033, "R0 := R3 + R3 as float8 = FF + FF = 8F (-1920 + -1920 = -3840; float8 keeps -15)"},
    {0x60FC, "R0 := RF + RC as float8 = 03 + 85 = 82 (3 + -5 = -2)"},
    {0x606D, "R0 := R6 + RD as float8 = 80 + 70 = 00 (0 + 0 = 0)"},
    {0x7078, "R0 := R7 OR R8 = 0F OR 30 = 3F (00001111 OR 00110000 = 00111111)"},
    {0x8079, "R0 := R7 AND R9 = 0F AND 3C = 0C (00001111 AND 00111100 = 00001100)"},
    {0x9039, "R0 := R3 XOR R9 = FF XOR 3C = C3 (11111111 XOR 00111100 = 11000011)"},
    {0xA403, "R4 := R4 rotated right by 3: 00000001 (01) becomes 00100000 (20)"},
    {0xAE00, "RE := RE rotated right by 0: 10000001 (81) stays 10000001 (81)"},
    {0xAE08, "RE := RE rotated right by 8 (the same as 0): 10000001 (81) stays 10000001 (81)"},
    {0xAE09, "RE := RE rotated right by 9 (the same as 1): 10000001 (81) becomes 11000000 (C0)"},
    {0xA213, "A213 is not an instruction: the machine stops"},
    {0xB10E, "R1 (05) = R0 (01)? no: go on at 0A"},
    {0xB40E, "R4 (01) = R0 (01)? yes: jump to 0E"},
    {0xB00E, "jump to 0E (R0 always equals itself)"},
    {0xC000, "halt: the machine stops"},
    {0xC001, "C001 is not an instruction: the machine stops"},
    {0xD016, "R1 := memory[R6] = memory[80] = 2A"},
    {0xD112, "D112 is not an instruction: the machine stops"},
    {0xE016, "memory[R6] := R1: memory[80] := 05"},
    {0xF30E, "R3 (FF = -1) <= R0 (01 = 1)? yes: jump to 0E"},  // unsigned, FF is not <= 01
    {0xF60E, "R6 (80 = -128) <= R0 (01 = 1)? yes: jump to 0E"},
    {0xF40E, "R4 (01 = 1) <= R0 (01 = 1)? yes: jump to 0E"},
    {0xF10E, "R1 (05 = 5) <= R0 (01 = 1)? no: go on at 0A"},
};

TEST(Explain, EveryInstructionFormSaysWhatItDoesWithItsValues) {
    bool opcodeSeen[16] = {};
    for (const auto& c : ExplainCases) {
        TMachineState state;
        state.Pc = 0x08;
        state.Memory[0x08] = c.Word >> 8;
        state.Memory[0x09] = c.Word & 0xFF;
        state.Memory[0x80] = 0x2A;
        std::copy(std::begin(CaseRegisters), std::end(CaseRegisters), state.Registers.begin());
        EXPECT_EQ(ExplainInstruction(state), c.Expected) << std::hex << c.Word;
        opcodeSeen[c.Word >> 12] = true;
    }
    for (int op = 0; op < 16; ++op) EXPECT_TRUE(opcodeSeen[op]) << "no case for opcode " << op;
}

TEST(Explain, AWordIsExplainedAsAnInstructionExactlyWhenItIsOne) {
    const TMachineState state;
    for (int word = 0; word < 0x10000; ++word) {
        const bool refused =
            ExplainWord(word, state).ends_with("is not an instruction: the machine stops");
        ASSERT_EQ(refused, !IsValidInstruction({word})) << std::hex << word;
    }
}

TEST(Explain, TheInstructionAtFFTakesItsSecondByteFrom00AndGoesOnAt01) {
    TMachineState state;
    state.Pc = 0xFF;
    state.Memory[0xFF] = 0xB1;
    state.Memory[0x00] = 0x40;
    state.Registers[1] = 0x01;
    EXPECT_EQ(ExplainInstruction(state), "R1 (01) = R0 (00)? no: go on at 01");
}

// A program that writes a register, memory, jumps and halts, explained from the
// history after it ran, as before each step.
TEST(HistoryStates, EveryStepIsExplainedWithTheValuesItMet) {
    TTestMachine m;
    m.Poke(0x00, {0x21, 0x05, 0x52, 0x11, 0x32, 0x80, 0xB0, 0x0A, 0x00, 0x00, 0xC0, 0x00});
    const TMachineState start = ReadMachineState(m.Stores());
    std::vector<std::string> before;
    for (TStepResult r = TStepResult::Executed; r == TStepResult::Executed;) {
        before.push_back(ExplainInstruction(ReadMachineState(m.Stores())));
        r = m.Simulation.Step();
    }
    ASSERT_EQ(before.size(), 5u);
    EXPECT_EQ(before[1], "R2 := R1 + R1 = 05 + 05 = 0A (5 + 5 = 10)");
    const THistory& h = m.History();
    THistoryStates fromEnd(ReadMachineState(m.Stores()), h.LastStep() + 1);
    for (long long step = h.LastStep(); step >= h.FirstStep(); --step)
        EXPECT_EQ(fromEnd.Explain(h, step), before[step - h.FirstStep()]) << step;
    THistoryStates fromStart(start, h.FirstStep());
    for (long long step = h.FirstStep(); step <= h.LastStep(); ++step)
        EXPECT_EQ(fromStart.Explain(h, step), before[step - h.FirstStep()]) << step;
    EXPECT_EQ(fromStart.Before(h, h.LastStep() + 1)->Memory, ReadMachineState(m.Stores()).Memory);
    EXPECT_EQ(fromStart.Explain(h, h.LastStep() + 1), "");
    EXPECT_EQ(ExplainLastStep(m.Stores(), h), "halt: the machine stops");
    m.Simulation.StepBack();
    m.Simulation.StepBack();
    EXPECT_EQ(ExplainLastStep(m.Stores(), h), "memory[80] := R2 = 0A");
}

TEST(HistoryStates, NothingWhenTheStepsAreGone) {
    TTestMachine m(2);
    m.Poke(0x00, {0x21, 0x01, 0x21, 0x02, 0x21, 0x03});
    const TMachineState start = ReadMachineState(m.Stores());
    EXPECT_EQ(ExplainLastStep(m.Stores(), m.History()), std::nullopt);
    for (int i = 0; i < 3; ++i) m.Simulation.Step();
    THistoryStates stale(start, 1);  // step 1 has left the two-step history
    EXPECT_EQ(stale.Before(m.History(), 2), nullptr);
    EXPECT_EQ(stale.Explain(m.History(), 3), "");
}

}  // namespace
