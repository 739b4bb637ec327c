// Breakpoints: the set itself and the run that stops before an instruction at one.
#include <gtest/gtest.h>

#include <vector>

#include "core/breakpoints.h"
#include "machine_fixture.h"

namespace {

TEST(Breakpoints, ToggleHasClear) {
    TBreakpoints set;
    EXPECT_TRUE(set.Empty());
    for (const int address : {-1, 256}) {
        set.Toggle(address);
        EXPECT_FALSE(set.Has(address));
    }
    EXPECT_TRUE(set.Empty());
    set.Toggle(0);
    set.Toggle(255);
    set.Toggle(7);
    set.Toggle(7);
    EXPECT_TRUE(set.Has(0));
    EXPECT_TRUE(set.Has(255));
    EXPECT_FALSE(set.Has(7));
    EXPECT_EQ(set.Addresses().count(), 2u);
    set.Clear();
    EXPECT_TRUE(set.Empty());
}

// 00: load R1,01  02: addi R2,R2,R1  04: jmp 02 -- and a halt at 06 for the halting case.
struct StopCase {
    const char* name;
    std::vector<int> breakpoints;
    int startPc;
    bool skipFirst;
    long long count;
    int result, executed, pc;
};

TEST(Breakpoints, RunStopsBeforeTheInstruction) {
    const StopCase cases[] = {
        {"no breakpoint runs the count", {}, 0, false, 10, StepExecuted, 10, 0x04},
        {"stops before the loop body", {0x02}, 0, false, 10, StepBreakpoint, 1, 0x02},
        {"at the start, not skipped", {0x00}, 0, false, 10, StepBreakpoint, 0, 0x00},
        {"at the start, skipped, comes round", {0x02}, 2, true, 10, StepBreakpoint, 2, 0x02},
        {"odd address never reached", {0x03}, 0, false, 9, StepExecuted, 9, 0x02},
        {"halt before breakpoint", {0x08}, 6, false, 10, StepHalted, 1, 0x08},
        {"second of two, the first passed", {0x04, 0x06}, 0, false, 10, StepBreakpoint, 2, 0x04},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        TTestMachine m;
        m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02, 0xC0, 0x00});
        m.SysRegs.SetContents(PcIndex, c.startPc);
        TBreakpoints set;
        for (const int a : c.breakpoints) set.Toggle(a);
        long long executed = -1;
        EXPECT_EQ(RunStepsStopping(m.Stores(), c.count, set.Addresses(), c.skipFirst, executed),
                  c.result);
        EXPECT_EQ(executed, c.executed);
        EXPECT_EQ(m.Pc(), c.pc);
    }
}

}  // namespace
