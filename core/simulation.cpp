#include "core/simulation.h"

#include <algorithm>

#include "core/engine.h"

namespace {

TRunOutcome OutcomeOf(engine::TLoopEnd end) {
    switch (end) {
        case engine::TLoopEnd::Halted:
            return TRunOutcome::Halted;
        case engine::TLoopEnd::Invalid:
            return TRunOutcome::Invalid;
        case engine::TLoopEnd::Breakpoint:
            return TRunOutcome::Breakpoint;
        case engine::TLoopEnd::Budget:
            break;
    }
    return TRunOutcome::Limit;
}

}  // namespace

TStepResult ResultOf(TRunOutcome outcome) {
    return outcome == TRunOutcome::Halted    ? TStepResult::Halted
           : outcome == TRunOutcome::Invalid ? TStepResult::Invalid
                                             : TStepResult::Executed;
}

TRunOutcome OutcomeOf(TStepResult result) {
    return OutcomeOf(engine::EndOf(result));
}

TSimulation::TSimulation(const TMachineStores& stores, long long historyCapacity)
    : stores_(stores), history_(std::make_unique<THistory>(historyCapacity)) {
    pc_ = stores_.SysRegs.GetContents(PcIndex);
    stores_.MainMemory.OnCellChanged = [this](CellStore*, int index, int oldValue, int newValue) {
        Changed(TStore::Memory, index, oldValue, newValue);
    };
    stores_.Registers.OnCellChanged = [this](CellStore*, int index, int oldValue, int newValue) {
        Changed(TStore::Registers, index, oldValue, newValue);
    };
    stores_.SysRegs.OnCellChanged = [this](CellStore*, int index, int oldValue, int newValue) {
        Changed(TStore::SysRegs, index, oldValue, newValue);
    };
}

TSimulation::~TSimulation() {
    for (CellStore* store : {&stores_.MainMemory, &stores_.Registers, &stores_.SysRegs})
        store->OnCellChanged = nullptr;
    Tell([](TSimulationObserver* o) { o->SimulationGone(); });
}

void TSimulation::AddObserver(TSimulationObserver* observer, TNeeds needs) {
    observers_.push_back(observer);
    if (needs == TNeeds::Everything) writeObservers_.push_back(observer);
}

void TSimulation::RemoveObserver(TSimulationObserver* observer) {
    for (auto* list : {&observers_, &writeObservers_}) {
        if (telling_ > 0)
            std::replace(list->begin(), list->end(), observer,
                         static_cast<TSimulationObserver*>(nullptr));
        else
            std::erase(*list, observer);
    }
    if (telling_ > 0) removedWhileTelling_ = true;
}

// Observers added while telling are told too; removed ones are skipped and dropped after.
template <class F>
void TSimulation::Tell(std::vector<TSimulationObserver*>& observers, F tell) {
    if (observers.empty()) return;
    struct TTelling {
        TSimulation& Sim;
        explicit TTelling(TSimulation& sim) : Sim(sim) { ++Sim.telling_; }
        ~TTelling() {
            if (--Sim.telling_ > 0 || !Sim.removedWhileTelling_) return;
            Sim.removedWhileTelling_ = false;
            for (auto* list : {&Sim.observers_, &Sim.writeObservers_})
                std::erase(*list, static_cast<TSimulationObserver*>(nullptr));
        }
    } telling(*this);
    for (std::size_t i = 0; i < observers.size(); ++i)
        if (TSimulationObserver* observer = observers[i]) tell(observer);
}

void TSimulation::Changed(TStore store, int index, int oldValue, int newValue) {
    if (noting_.Active && origin_ == TWriteOrigin::Program) Note(store, index, oldValue, newValue);
    const TCellChange change{index, oldValue, newValue, origin_};
    if (origin_ == TWriteOrigin::User) ClearHistory();
    switch (store) {
        case TStore::Memory:
            Tell(writeObservers_, [&](TSimulationObserver* o) { o->MemoryChanged(change); });
            break;
        case TStore::Registers:
            Tell(writeObservers_, [&](TSimulationObserver* o) { o->RegisterChanged(change); });
            if (index != OutputRegister) break;
            if (origin_ == TWriteOrigin::StepBack)
                Tell([](TSimulationObserver* o) { o->OutputTakenBack(); });
            else
                Tell([newValue](TSimulationObserver* o) { o->OutputWritten(newValue); });
            break;
        case TStore::SysRegs:
            Tell(writeObservers_, [&](TSimulationObserver* o) { o->SysRegChanged(change); });
            if (index != PcIndex) break;
            pc_ = newValue;
            if (!frozen_) Tell([newValue](TSimulationObserver* o) { o->PcShown(newValue); });
            break;
    }
}

void TSimulation::Note(TStore store, int index, int oldValue, int newValue) {
    switch (store) {
        case TStore::Memory:
            noting_.Write = {TWriteKind::Memory, index, oldValue & 0xFF, newValue & 0xFF};
            break;
        case TStore::Registers:
            noting_.Write = {TWriteKind::Register, index, oldValue & 0xFF, newValue & 0xFF};
            break;
        case TStore::SysRegs:
            if (index == IrIndex) {
                noting_.OldIr = oldValue & 0xFFFF;
                noting_.Word = newValue & 0xFFFF;
                noting_.Fetched = true;
            } else if (noting_.Fetched) {
                noting_.Write = {TWriteKind::Pc, PcIndex, oldValue & 0xFF, newValue & 0xFF};
            } else {
                noting_.FetchPc = oldValue & 0xFF;
            }
            break;
    }
}

// ---------------------------------------------------------------------------------------
// Loading

void TSimulation::WriteMemoryInBulk(const std::function<void()>& writes) {
    struct TBulk {
        TSimulation& Sim;
        explicit TBulk(TSimulation& sim) : Sim(sim) {
            Sim.Tell([](TSimulationObserver* o) { o->BulkWrite(true); });
        }
        ~TBulk() {
            Sim.Tell([](TSimulationObserver* o) { o->BulkWrite(false); });
        }
    } bulk(*this);
    writes();
}

void TSimulation::LoadImage(const TProgramLoad& program) {
    if (program.SourceOwner == 0 || program.SourceOwner != sourceOwner_) ClearBreakpoints();
    WriteMemoryInBulk([&] {
        for (int a = 0; a < 256; ++a)
            stores_.MainMemory.SetContents(a, program.Image[static_cast<std::size_t>(a)]);
    });
    if (program.Registers)
        for (int r = 0; r < 16; ++r)
            stores_.Registers.SetContents(r, (*program.Registers)[static_cast<std::size_t>(r)]);
    if (program.Ir) stores_.SysRegs.SetContents(IrIndex, *program.Ir);
    source_ = program.Source;
    watch_.Load(program.Placement, source_);
    sourceOwner_ = program.SourceOwner;
    Tell([](TSimulationObserver* o) { o->ImageLoaded(); });
    Restart(program.Pc);
}

void TSimulation::Restart(int pc) {
    stores_.SysRegs.SetContents(PcIndex, (pc + 2) & 0xFF);
    stores_.SysRegs.SetContents(PcIndex, pc & 0xFF);
}

void TSimulation::ClearMemory() {
    WriteMemoryInBulk([this] {
        for (int a = 0; a < 256; ++a) stores_.MainMemory.SetContents(a, 0);
    });
    Tell([](TSimulationObserver* o) { o->MemoryCleared(); });
}

// ---------------------------------------------------------------------------------------
// Executing

// Plain stores written without their change events. With no observer of single writes,
// a run notes each step's write itself and tells only what such observers still hear
// (output, PC shown): exactly what the events would have told them, without an event
// and a bounds check per write, which makes a run several times faster. The engine
// masks every index it computes, so the stores' full sizes are all it needs.
// Memory or the registers; a register write to RF is output.
template <TWriteKind Kind>
class TSimulation::TQuietCells {
public:
    TQuietCells(TSimulation& sim, std::span<int> cells) : sim_(sim), cells_(cells.data()) {}
    int GetContents(int i) const { return cells_[i]; }
    void SetContents(int i, int value) {
        sim_.noting_.Write = {Kind, i, cells_[i] & 0xFF, value & 0xFF};
        cells_[i] = value;
        if constexpr (Kind == TWriteKind::Register)
            if (i == OutputRegister)
                sim_.Tell([value](TSimulationObserver* o) { o->OutputWritten(value); });
    }

private:
    TSimulation& sim_;
    int* cells_;
};

class TSimulation::TQuietSysRegs {
public:
    TQuietSysRegs(TSimulation& sim, std::span<int> cells) : sim_(sim), cells_(cells.data()) {}
    int GetContents(int i) const { return cells_[i]; }
    void SetContents(int i, int value) {
        TNoting& noting = sim_.noting_;
        const int old = cells_[i];
        cells_[i] = value;
        if (i == IrIndex) {
            noting.OldIr = old & 0xFFFF;
            noting.Word = value & 0xFFFF;
            noting.Fetched = true;
            return;
        }
        if (noting.Fetched)
            noting.Write = {TWriteKind::Pc, PcIndex, old & 0xFF, value & 0xFF};
        else
            noting.FetchPc = old & 0xFF;
        sim_.pc_ = value;
        if (!sim_.frozen_) sim_.Tell([value](TSimulationObserver* o) { o->PcShown(value); });
    }

private:
    TSimulation& sim_;
    int* cells_;
};

// The stores a run executes on: quiet ones when nobody asked for single writes and the
// stores are plain and whole, else the stores themselves (their events note the writes).
template <class F>
auto TSimulation::OnRunStores(F run) {
    auto* memory = dynamic_cast<TCellStore*>(&stores_.MainMemory);
    auto* registers = dynamic_cast<TCellStore*>(&stores_.Registers);
    auto* sysRegs = dynamic_cast<TCellStore*>(&stores_.SysRegs);
    if (writeObservers_.empty() && memory && registers && sysRegs && memory->Count() == 256 &&
        registers->Count() == 16 && sysRegs->Count() == 2) {
        TQuietCells<TWriteKind::Memory> quietMemory(*this, memory->Cells());
        TQuietCells<TWriteKind::Register> quietRegisters(*this, registers->Cells());
        TQuietSysRegs quietSysRegs(*this, sysRegs->Cells());
        return run(quietMemory, quietRegisters, quietSysRegs);
    }
    return engine::OnStores(stores_, run);
}

// As engine::Loop, appending every executed instruction to the history as the change
// events of its writes told it.
template <class Mem, class Regs, class Sys, class Stop, class Watch>
engine::TLoopEnd TSimulation::RecordingLoop(Mem& memory, Regs& registers, Sys& sysRegs,
                                            long long count, long long& executed, const Stop& stop,
                                            Watch& watch) {
    struct TNotingScope {
        TNoting& Noting;
        explicit TNotingScope(TNoting& noting) : Noting(noting) { Noting.Active = true; }
        ~TNotingScope() { Noting.Active = false; }
    } scope(noting_);
    executed = 0;
    while (executed < count) {
        if (stop.Before(executed, sysRegs)) return engine::TLoopEnd::Breakpoint;
        noting_.Fetched = false;
        noting_.Write = {};
        const TStepResult result = engine::Execute(memory, registers, sysRegs, watch);
        ++executed;
        history_->Record(noting_.FetchPc, noting_.OldIr, noting_.Word, noting_.Write);
        if (result != TStepResult::Executed) return engine::EndOf(result);
    }
    return engine::TLoopEnd::Budget;
}

// In a run, stops before an instruction at a breakpoint (the run's first one aside) and
// counts the steps; a single step goes wherever PC is.
TRunOutcome TSimulation::RunForward(long long count, bool inRun) {
    long long executed = 0;
    engine::TLoopEnd end;
    {
        const TOriginScope scope(*this, TWriteOrigin::Program);
        end = OnRunStores([&](auto& memory, auto& registers, auto& sysRegs) {
            auto loop = [&](const auto& stop, auto& watch) {
                return recording_
                           ? RecordingLoop(memory, registers, sysRegs, count, executed, stop, watch)
                           : engine::Loop(memory, registers, sysRegs, count, executed, stop, watch);
            };
            auto watched = [&](auto& watch) {
                if (!inRun || (breakpoints_.Empty() && runTo_ < 0))
                    return loop(engine::TNeverStop{}, watch);
                std::bitset<256> stops = breakpoints_.Addresses();
                if (runTo_ >= 0) stops.set(static_cast<std::size_t>(runTo_));
                return loop(engine::TStopAt{stops, firstOfRun_}, watch);
            };
            // Unwatched, a run pays nothing for the notes.
            engine::TNoWatch none;
            return watching_ ? watched(watch_) : watched(none);
        });
    }
    if (inRun) {
        if (executed > 0) firstOfRun_ = false;
        runSteps_ += executed;
    }
    TellNotes();
    TRunOutcome outcome = OutcomeOf(end);
    if (outcome == TRunOutcome::Halted || outcome == TRunOutcome::Invalid) {
        // PC points past the instruction that ended the program: no jump got there.
        const int address = (pc_ - 2) & 0xFF;
        Tell([address](TSimulationObserver* o) { o->ProgramEnded(address); });
    }
    // Reaching the address of a run to it, where no breakpoint is, is no breakpoint stop.
    if (outcome == TRunOutcome::Breakpoint && !breakpoints_.Has(pc_))
        outcome = TRunOutcome::Stopped;
    return outcome;
}

void TSimulation::TellNotes() {
    for (const TRunNote& note : watch_.Take())
        Tell([&note](TSimulationObserver* o) { o->Noted(note); });
}

TStepResult TSimulation::Step() {
    watch_.Restart();
    return ResultOf(RunForward(1, false));
}

bool TSimulation::StepBack() {
    const TOriginScope scope(*this, TWriteOrigin::StepBack);
    return history_->StepBack(stores_).has_value();
}

TRunOutcome TSimulation::RunBack(long long count) {
    const TOriginScope scope(*this, TWriteOrigin::StepBack);
    for (long long i = 0; i < count; ++i) {
        const std::optional<THistoryEntry> step = history_->StepBack(stores_);
        if (!step) return TRunOutcome::HistoryStart;
        ++runSteps_;
        if (breakpoints_.Has(step->Pc)) return TRunOutcome::Breakpoint;
    }
    return TRunOutcome::Limit;
}

void TSimulation::StepBackTo(long long step) {
    StopRun();
    const bool frozen = frozen_;
    FreezeViews(true);
    while (!history_->Empty() && history_->LastStep() > step) StepBack();
    FreezeViews(frozen);
    Tell([step](TSimulationObserver* o) { o->WentBackTo(step); });
}

void TSimulation::StartRun(bool back) {
    if (running_) return;
    running_ = true;
    back_ = back;
    firstOfRun_ = true;
    watch_.Restart();
    runTo_ = -1;
}

void TSimulation::StartRunTo(int address) {
    if (running_) return;
    StartRun();
    runTo_ = address & 0xFF;
}

TRunOutcome TSimulation::RunSlice(long long count) {
    if (!running_) return TRunOutcome::Stopped;
    const TRunOutcome outcome = back_ ? RunBack(count) : RunForward(count, true);
    if (outcome != TRunOutcome::Limit) EndRun(outcome);
    return outcome;
}

TStepResult TSimulation::Run(long long count, long long& executed) {
    const long long before = runSteps_;
    StartRun();
    FreezeViews(true);  // nobody looks in between: PC is shown once, when the run ends
    const TRunOutcome outcome = RunSlice(count);
    StopRun();
    executed = runSteps_ - before;
    return ResultOf(outcome);
}

void TSimulation::StopRun() {
    if (running_) EndRun(TRunOutcome::Stopped);
}

void TSimulation::EndRun(TRunOutcome outcome) {
    running_ = false;
    runTo_ = -1;
    FreezeViews(false);
    Tell([outcome](TSimulationObserver* o) { o->Stopped(outcome); });
}

void TSimulation::FreezeViews(bool frozen) {
    if (frozen == frozen_) return;
    frozen_ = frozen;
    Tell([frozen](TSimulationObserver* o) { o->ViewsFrozen(frozen); });
    if (!frozen) Tell([this](TSimulationObserver* o) { o->PcShown(pc_); });
}

// ---------------------------------------------------------------------------------------
// History and breakpoints

void TSimulation::ClearHistory() {
    const bool hadSteps = !history_->Empty();
    history_->Clear();
    if (hadSteps) Tell([](TSimulationObserver* o) { o->HistoryCleared(); });
}

void TSimulation::ToggleBreakpoint(int address) {
    breakpoints_.Toggle(address);
    Tell([](TSimulationObserver* o) { o->BreakpointsChanged(); });
}

void TSimulation::ClearBreakpoints() {
    const int count = breakpoints_.Count();
    if (count == 0) return;
    breakpoints_.Clear();
    Tell([](TSimulationObserver* o) { o->BreakpointsChanged(); });
    Tell([count](TSimulationObserver* o) { o->BreakpointsRemoved(count); });
}

void TSimulation::SetBreakpoints(const std::bitset<256>& addresses) {
    breakpoints_.Assign(addresses);
    Tell([](TSimulationObserver* o) { o->BreakpointsChanged(); });
}
