// The simulation on plain stores: loading, stepping, runs in slices with each way they
// stop, going back, breakpoints, and what its observers are told, with whose writes.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/runstatus.h"
#include "core/simulation.h"
#include "machine_fixture.h"

namespace {

// Writes down every event as a short text.
struct TLog final : TSimulationObserver {
    std::vector<std::string> Events;

    static const char* Name(TWriteOrigin origin) {
        return origin == TWriteOrigin::User      ? "user"
               : origin == TWriteOrigin::Program ? "program"
                                                 : "back";
    }
    void Add(const std::string& event) { Events.push_back(event); }
    void MemoryChanged(const TCellChange& c) override {
        Add("mem " + std::to_string(c.Index) + " " + Name(c.Origin));
    }
    void RegisterChanged(const TCellChange& c) override {
        Add("reg " + std::to_string(c.Index) + " " + Name(c.Origin));
    }
    void SysRegChanged(const TCellChange& c) override {
        Add((c.Index == PcIndex ? "pc " : "ir ") + std::to_string(c.New) + " " + Name(c.Origin));
    }
    void OutputWritten(int value) override { Add("out " + std::to_string(value)); }
    void OutputTakenBack() override { Add("out back"); }
    void PcShown(int pc) override { Add("shown " + std::to_string(pc)); }
    void ViewsFrozen(bool frozen) override { Add(frozen ? "frozen" : "thawed"); }
    void BulkWrite(bool begins) override { Add(begins ? "bulk" : "bulk end"); }
    void ImageLoaded() override { Add("loaded"); }
    void HistoryCleared() override { Add("history cleared"); }
    void BreakpointsChanged() override { Add("breakpoints"); }
    void BreakpointsRemoved(int count) override { Add("removed " + std::to_string(count)); }
    void ProgramEnded(int address) override { Add("ended " + std::to_string(address)); }
    void WentBackTo(long long step) override { Add("went back " + std::to_string(step)); }
    void Stopped(TRunOutcome outcome) override {
        Add("stopped " + std::to_string(static_cast<int>(outcome)));
    }
    // Only the events that start with prefix.
    std::vector<std::string> Only(const std::string& prefix) const {
        std::vector<std::string> kept;
        for (const std::string& e : Events)
            if (e.rfind(prefix, 0) == 0) kept.push_back(e);
        return kept;
    }
};

struct TObserved : TTestMachine {
    TLog Log;
    TObserved() { Simulation.AddObserver(&Log); }
    ~TObserved() { Simulation.RemoveObserver(&Log); }
};

using TEvents = std::vector<std::string>;

TEST(Simulation, LoadImageWritesInBulkThenRestartsAtItsPc) {
    TObserved m;
    TProgramLoad load(TMemoryImage{0x2F, 0x41}, 0x10);
    load.Registers = std::array<int, 16>{};
    (*load.Registers)[15] = 0x42;
    load.Source[0] = 3;
    load.SourceOwner = m.Simulation.NewSourceOwner();
    m.Simulation.LoadImage(load);
    EXPECT_EQ(m.Mem(0), 0x2F);
    EXPECT_EQ(m.Pc(), 0x10);
    EXPECT_EQ(m.Output, "B");  // a register load writes RF, which is output
    EXPECT_EQ(m.Simulation.SourceMap()[0], 3);
    EXPECT_EQ(m.Simulation.SourceMap()[1], -1);
    EXPECT_EQ(m.Simulation.SourceOwner(), load.SourceOwner);
    const TEvents& e = m.Log.Events;
    ASSERT_EQ(e.front(), "bulk");
    EXPECT_EQ(e[257], "bulk end");
    const TEvents tail(e.end() - 5, e.end());
    EXPECT_EQ(tail, (TEvents{"loaded", "pc 18 user", "shown 18", "pc 16 user", "shown 16"}));
}

TEST(Simulation, OriginsTellWhoWrote) {
    TObserved m;
    m.Poke(0, {0x2F, 0x41, 0x3F, 0x80});  // load RF,41   store RF,[80]
    m.Log.Events.clear();
    EXPECT_FALSE(m.Simulation.Executing());
    struct TDuring final : TSimulationObserver {
        TSimulation& Sim;
        std::vector<bool> Executing;
        explicit TDuring(TSimulation& sim) : Sim(sim) {}
        void RegisterChanged(const TCellChange&) override { Executing.push_back(Sim.Executing()); }
    } during(m.Simulation);
    m.Simulation.AddObserver(&during);
    m.Simulation.Step();
    m.Simulation.Step();
    m.Simulation.StepBack();
    m.Simulation.StepBack();
    m.Registers.SetContents(1, 7);
    m.Simulation.RemoveObserver(&during);
    EXPECT_FALSE(m.Simulation.Executing());
    EXPECT_EQ(during.Executing, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(m.Log.Only("reg"), (TEvents{"reg 15 program", "reg 15 back", "reg 1 user"}));
    EXPECT_EQ(m.Log.Only("mem"), (TEvents{"mem 128 program", "mem 128 back"}));
    EXPECT_EQ(m.Log.Only("out"), (TEvents{"out 65", "out back"}));
    EXPECT_EQ(m.Output, "A");  // taking A back from the output is the observer's
}

TEST(Simulation, UsersWritesClearTheHistoryAndSayItOnce) {
    TObserved m;
    m.Poke(0, {0x21, 0x01, 0x21, 0x02});
    m.Simulation.Step();
    m.Simulation.Step();
    EXPECT_EQ(m.History().Size(), 2);
    m.MainMemory.SetContents(0x90, 1);
    m.Registers.SetContents(3, 1);
    EXPECT_TRUE(m.History().Empty());
    EXPECT_EQ(m.Log.Only("history"), (TEvents{"history cleared"}));
    m.Simulation.Step();
    EXPECT_EQ(m.History().Entry(0).Step, 1);  // counting starts afresh
}

// 00: load R1,01  02: addi R2,R2,R1  04: jmp 02  06: halt
struct TSliceCase {
    const char* Name;
    std::vector<int> Breakpoints;
    int StartPc;
    long long Before;  // instructions run by an earlier slice of the same run
    long long Count;
    TRunOutcome Outcome;
    long long Executed;
    int Pc;
};

TEST(Simulation, RunSlicesStopWhereTheyShould) {
    using O = TRunOutcome;
    const TSliceCase cases[] = {
        {"no breakpoint runs the count", {}, 0, 0, 10, O::Limit, 10, 0x04},
        {"stops before the loop body", {0x02}, 0, 0, 10, O::Breakpoint, 1, 0x02},
        {"a run's first instruction goes ahead", {0x02}, 2, 0, 10, O::Breakpoint, 2, 0x02},
        {"later slices stop at once", {0x02}, 0, 1, 10, O::Breakpoint, 0, 0x02},
        {"odd address never reached", {0x03}, 0, 0, 9, O::Limit, 9, 0x02},
        {"halt", {0x08}, 6, 0, 10, O::Halted, 1, 0x08},
        {"invalid word", {}, 8, 0, 10, O::Invalid, 1, 0x0A},
        {"second of two, the first passed", {0x04, 0x06}, 0, 0, 10, O::Breakpoint, 2, 0x04},
    };
    for (const TSliceCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TObserved m;
        m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02, 0xC0, 0x00});
        m.SysRegs.SetContents(PcIndex, c.StartPc);
        for (const int a : c.Breakpoints) m.Simulation.ToggleBreakpoint(a);
        m.Simulation.StartRun();
        if (c.Before > 0) {
            ASSERT_EQ(m.Simulation.RunSlice(c.Before), O::Limit);
        }
        const long long before = m.Simulation.RunSteps();
        EXPECT_EQ(m.Simulation.RunSlice(c.Count), c.Outcome);
        EXPECT_EQ(m.Simulation.RunSteps() - before, c.Executed);
        EXPECT_EQ(m.Pc(), c.Pc);
        EXPECT_EQ(m.Simulation.Running(), c.Outcome == O::Limit);
        const TEvents stopped = m.Log.Only("stopped");
        EXPECT_EQ(stopped.size(), c.Outcome == O::Limit ? 0u : 1u);
        EXPECT_EQ(m.Simulation.RunSlice(1), c.Outcome == O::Limit ? O::Limit : O::Stopped);
    }
}

TEST(Simulation, StepIgnoresBreakpointsAndStopRunSaysStopped) {
    TObserved m;
    m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02});
    m.Simulation.ToggleBreakpoint(0x02);
    m.Simulation.ToggleBreakpoint(0x04);
    EXPECT_EQ(m.Log.Only("breakpoints").size(), 2u);
    EXPECT_EQ(m.Simulation.Step(), TStepResult::Executed);
    EXPECT_EQ(m.Simulation.Step(), TStepResult::Executed);
    EXPECT_EQ(m.Pc(), 0x04);
    m.Simulation.StopRun();  // no run: nothing to say
    m.Simulation.StartRun();
    m.Simulation.FreezeViews(true);
    m.Simulation.StopRun();
    EXPECT_FALSE(m.Simulation.Running());
    EXPECT_FALSE(m.Simulation.ViewsFrozen());
    const TEvents tail(m.Log.Events.end() - 4, m.Log.Events.end());
    EXPECT_EQ(tail, (TEvents{"frozen", "thawed", "shown 4", "stopped 5"}));
}

TEST(Simulation, RunBackStopsAtBreakpointsAndTheStartOfHistory) {
    TObserved m;
    m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02});
    for (int i = 0; i < 7; ++i) m.Simulation.Step();  // PC 02, 04, 02, 04, 02, 04, 02
    m.Simulation.ToggleBreakpoint(0x04);
    m.Simulation.StartRun(true);
    EXPECT_TRUE(m.Simulation.RunningBack());
    EXPECT_EQ(m.Simulation.RunSlice(100), TRunOutcome::Breakpoint);
    EXPECT_EQ(m.Pc(), 0x04);  // the newest step was fetched at 04
    EXPECT_EQ(m.History().Size(), 6);
    m.Simulation.ClearBreakpoints();
    m.Simulation.StartRun(true);
    EXPECT_EQ(m.Simulation.RunSlice(3), TRunOutcome::Limit);
    EXPECT_EQ(m.Simulation.RunSlice(100), TRunOutcome::HistoryStart);
    EXPECT_EQ(m.Pc(), 0x00);
    EXPECT_EQ(m.Simulation.RunSteps(), 7);
}

TEST(Simulation, StepBackToTakesBackUntilThatStepIsTheNewest) {
    TObserved m;
    m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02});
    for (int i = 0; i < 9; ++i) m.Simulation.Step();
    m.Log.Events.clear();
    m.Simulation.StepBackTo(4);
    EXPECT_EQ(m.History().LastStep(), 4);
    EXPECT_EQ(m.Reg(2), 2);                                // steps 2 and 4 added
    EXPECT_EQ(m.Log.Only("shown"), (TEvents{"shown 4"}));  // once, when the views thaw
    EXPECT_EQ(m.Log.Only("went"), (TEvents{"went back 4"}));
    m.Simulation.StepBackTo(-1);
    EXPECT_TRUE(m.History().Empty());
}

// Without an observer of single writes a run writes the stores directly and notes its
// steps itself: the machine, the history and every event left must be what the change
// events give.
TEST(Simulation, RunsWithoutWriteObserversTellTheSame) {
    auto entries = [](const THistory& h) {
        std::vector<std::string> kept;
        for (const THistoryEntry& e : h.Last(h.Size()))
            kept.push_back(std::to_string(e.Step) + " " + std::to_string(e.Pc) + " " +
                           std::to_string(e.Word) + " " + std::to_string(e.OldIr) + " " +
                           std::to_string(int(e.Write.Kind)) + " " + std::to_string(e.Write.Index) +
                           " " + std::to_string(e.Write.Old) + " " + std::to_string(e.Write.New));
        return kept;
    };
    std::mt19937 random(5);
    for (int program = 0; program < 40; ++program) {
        TTestMachine quiet, told;
        TLog quietLog, toldLog;
        quiet.Simulation.AddObserver(&quietLog, TSimulation::TNeeds::NoWrites);
        told.Simulation.AddObserver(&toldLog);
        const int pc = int(random() % 256);
        for (TTestMachine* m : {&quiet, &told}) m->SysRegs.SetContents(PcIndex, pc);
        for (int a = 0; a < 256; ++a) {
            const int b = int(random() % 256);
            for (TTestMachine* m : {&quiet, &told}) m->Poke(a, {b});
        }
        for (TTestMachine* m : {&quiet, &told}) {
            m->Simulation.ClearHistory();
            m->Simulation.ToggleBreakpoint(0x40);
            for (int i = 0; i < 5; ++i) m->Simulation.Step();
            long long executed = 0;
            m->Simulation.Run(200, executed);
            m->Simulation.StartRun();
            m->Simulation.RunSlice(100);
            m->Simulation.StopRun();
        }
        TEvents toldEvents;
        for (const std::string& e : toldLog.Events)
            if (e.rfind("mem ", 0) && e.rfind("reg ", 0) && e.rfind("pc ", 0) && e.rfind("ir ", 0))
                toldEvents.push_back(e);
        const std::string name = "program " + std::to_string(program);
        EXPECT_EQ(quietLog.Events, toldEvents) << name;
        EXPECT_EQ(entries(quiet.History()), entries(told.History())) << name;
        EXPECT_EQ(quiet.Output, told.Output) << name;
        for (int a = 0; a < 256; ++a) ASSERT_EQ(quiet.Mem(a), told.Mem(a)) << name;
        for (int r = 0; r < 16; ++r) ASSERT_EQ(quiet.Reg(r), told.Reg(r)) << name;
        EXPECT_EQ(quiet.Ir(), told.Ir()) << name;
        quiet.Simulation.RemoveObserver(&quietLog);
        told.Simulation.RemoveObserver(&toldLog);
    }
}

TEST(Simulation, OnlyTheSameOwnersLoadKeepsTheBreakpoints) {
    // Who loads next: the same owner, another one, or nobody (an image from a file).
    for (const char* next : {"same", "other", "file"}) {
        SCOPED_TRACE(next);
        TObserved m;
        TProgramLoad load;
        load.SourceOwner = m.Simulation.NewSourceOwner();
        m.Simulation.LoadImage(load);
        m.Simulation.ToggleBreakpoint(2);
        m.Simulation.ToggleBreakpoint(6);
        const bool kept = next == std::string("same");
        if (!kept)
            load.SourceOwner = next == std::string("file") ? 0 : m.Simulation.NewSourceOwner();
        m.Simulation.LoadImage(load);
        EXPECT_EQ(m.Simulation.Breakpoints().Has(6), kept);
        EXPECT_EQ(m.Log.Only("removed"), kept ? TEvents{} : TEvents{"removed 2"});
    }
}

TEST(Simulation, ARunToAnAddressStopsThereOnceAsStopped) {
    TObserved m;
    m.Poke(0x00, {0x21, 0x01, 0x52, 0x21, 0xB0, 0x02});  // 00 load, 02 addi, 04 jmp 02
    m.Simulation.StartRunTo(0x04);
    EXPECT_EQ(m.Simulation.RunSlice(100), TRunOutcome::Stopped);
    EXPECT_EQ(m.Pc(), 0x04);
    m.Simulation.StartRun();  // an ordinary run forgets it
    EXPECT_EQ(m.Simulation.RunSlice(10), TRunOutcome::Limit);
    m.Simulation.StopRun();
    m.Simulation.ToggleBreakpoint(0x02);  // where a breakpoint is too, it is one
    m.Simulation.StartRunTo(0x02);
    EXPECT_EQ(m.Simulation.RunSlice(100), TRunOutcome::Breakpoint);
}

TEST(Simulation, TellsWhereAProgramEnded) {
    struct TCase {
        const char* Name;
        std::vector<int> Bytes;  // at 10, PC 10
        bool Run;
        TEvents Ended;
    };
    const TCase cases[] = {
        {"halt by a step", {0xC0, 0x00}, false, {"ended 16"}},
        {"invalid in a run", {0x21, 0x01, 0x00, 0x00}, true, {"ended 18"}},
        {"an ordinary step", {0x21, 0x01}, false, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TObserved m;
        for (std::size_t i = 0; i < c.Bytes.size(); ++i)
            m.MainMemory.SetContents(0x10 + int(i), c.Bytes[i]);
        m.SysRegs.SetContents(PcIndex, 0x10);
        if (c.Run) {
            m.Simulation.StartRun();
            m.Simulation.RunSlice(100);
        } else {
            m.Simulation.Step();
        }
        EXPECT_EQ(m.Log.Only("ended"), c.Ended);
    }
}

TEST(Simulation, RunningStatusSaysHowItRuns) {
    EXPECT_EQ(RunningStatus().Text, "Running...");
    EXPECT_EQ(RunningStatus(true, 0).Text, "Running back...");
    EXPECT_EQ(RunningStatus(false, 10).Text, "Running at 10/s...");
    EXPECT_EQ(RunningStatus(true, 10).Text, "Running back...");
}

TEST(Simulation, ObserversMayLeaveWhileTold) {
    TTestMachine m;
    struct TLeaver final : TSimulationObserver {
        TSimulation& Sim;
        TSimulationObserver* Other = nullptr;
        int Told = 0;
        explicit TLeaver(TSimulation& sim) : Sim(sim) {}
        void RegisterChanged(const TCellChange&) override {
            ++Told;
            Sim.RemoveObserver(this);
            if (Other) Sim.RemoveObserver(Other);
        }
    } first(m.Simulation), second(m.Simulation);
    first.Other = &second;
    m.Simulation.AddObserver(&first);
    m.Simulation.AddObserver(&second);
    m.Registers.SetContents(0, 1);
    m.Registers.SetContents(0, 2);
    EXPECT_EQ(first.Told, 1);
    EXPECT_EQ(second.Told, 0);
}

TEST(Simulation, ObserversHearWhenItGoes) {
    struct TGone final : TSimulationObserver {
        bool Gone = false;
        void SimulationGone() override { Gone = true; }
    } gone;
    TCellStore memory(256), registers(16), sysRegs(2);
    {
        TSimulation sim({memory, registers, sysRegs});
        sim.AddObserver(&gone);
    }
    EXPECT_TRUE(gone.Gone);
    memory.SetContents(0, 1);  // the stores are free again
    EXPECT_FALSE(memory.OnCellChanged);
}

}  // namespace
