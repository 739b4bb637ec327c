#pragma once
// One machine as every front end drives it. A simulation refers to the three stores it
// is given (a window's grids, or plain stores in the tool, the grader and the browser)
// and owns what runs on them: the history of executed steps, the breakpoints, the
// source map of the loaded program and the run state. It watches every write to the
// stores and tells its observers what changed and who changed it:
// - Program: an instruction executing (a step or a run);
// - StepBack: the history taking a step back;
// - User: anything else (typing, paste, clear, loading, the dialogs). A user's write
//   makes the older steps describe another machine, so it clears the history.
// Every write to RF is output, taken back again when a step back restores RF.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "core/breakpoints.h"
#include "core/execute.h"
#include "core/history.h"
#include "core/memfile.h"
#include "core/runnotes.h"

namespace engine {
enum class TLoopEnd;
}

enum class TWriteOrigin : uint8_t { User, Program, StepBack };

// How a run (or a slice of one) ended.
enum class TRunOutcome {
    Limit,         // the slice's budget ran out: the run goes on
    Halted,        // the program executed halt
    Invalid,       // the program executed an invalid word
    Breakpoint,    // PC reached a breakpoint (before executing it, or by a step back)
    HistoryStart,  // run back has taken back every recorded step
    Stopped,       // stopped from outside (Break)
};

// The outcome of a run that ended with a step's result.
TRunOutcome OutcomeOf(TStepResult result);
// The step result a run that ended so reports: anything but a halt or an invalid word
// leaves the last step executed.
TStepResult ResultOf(TRunOutcome outcome);

// One write to a store, as the observers are told of it.
struct TCellChange {
    int Index;
    int Old;
    int New;
    TWriteOrigin Origin;
};

// Per address, the 0-based source line whose code placed the byte; -1 for none.
using TSourceMap = std::array<int, 256>;
constexpr TSourceMap NoSourceMap = [] {
    TSourceMap map{};
    map.fill(-1);
    return map;
}();

// What LoadImage puts into the machine.
struct TProgramLoad {
    explicit TProgramLoad(const TMemoryImage& image = {}, int pc = 0) : Image(image), Pc(pc) {}

    TMemoryImage Image;
    int Pc;
    std::optional<std::array<int, 16>> Registers;  // left as they are when not given
    std::optional<int> Ir;                         // left as it is when not given
    TSourceMap Source = NoSourceMap;               // none for an image from a file
    TPlacement Placement{};  // code and data of an assembly; Nothing for an image from a file
    // Who assembled it (see NewSourceOwner); 0 for none. A load keeps the breakpoints only
    // when the same owner loads again: they belong to its program, not to memory.
    int SourceOwner = 0;
};

// Told of what happens in a simulation; every callback is optional.
class TSimulationObserver {
public:
    virtual ~TSimulationObserver() = default;
    virtual void MemoryChanged(const TCellChange&) {}
    virtual void RegisterChanged(const TCellChange&) {}
    virtual void SysRegChanged(const TCellChange&) {}
    // A write to RF by the user or the program; a step back that restores RF takes it back.
    virtual void OutputWritten(int) {}
    virtual void OutputTakenBack() {}
    // PC as views should show it: after each change, and when the views thaw.
    virtual void PcShown(int) {}
    // Views may stop following each write and catch up when thawed (during a full-speed
    // run, at the screen's rate).
    virtual void ViewsFrozen(bool) {}
    // Many memory writes follow, until told false: views repaint once after them.
    virtual void BulkWrite(bool) {}
    // LoadImage has written memory (PC is written next): memory now holds a program.
    virtual void ImageLoaded() {}
    // ClearMemory has zeroed memory: nothing in it is worth saving.
    virtual void MemoryCleared() {}
    virtual void HistoryCleared() {}
    virtual void BreakpointsChanged() {}
    // Every breakpoint went at once (Remove All, or another program loaded); count were set.
    virtual void BreakpointsRemoved(int) {}
    // The instruction at address halted or was invalid: the program ended there.
    virtual void ProgramEnded(int) {}
    // A run ended (not told for a slice that ran out of budget).
    virtual void Stopped(TRunOutcome) {}
    // StepBackTo has taken the machine back to just after that step.
    virtual void WentBackTo(long long) {}
    // A step or run noticed a classic mistake (told after the step or slice).
    virtual void Noted(const TRunNote&) {}
    // The simulation is going away before the observer; it must not be used any more.
    virtual void SimulationGone() {}
};

// What a front end that keeps memory in a file offers every window that replaces it.
class TMemoryDocument {
public:
    virtual ~TMemoryDocument() = default;
    virtual bool MemModified() const = 0;
    // The front end's Save command; it may ask for a name, and be cancelled or fail.
    virtual void SaveMemory() = 0;
    // Brings the front end's view of memory forward, as a program is put into it.
    virtual void Activate() = 0;
};

class TSimulation {
public:
    // The stores must outlive the simulation; it takes their change events.
    explicit TSimulation(const TMachineStores& stores,
                         long long historyCapacity = THistory::DefaultCapacity);
    ~TSimulation();
    TSimulation(const TSimulation&) = delete;
    TSimulation& operator=(const TSimulation&) = delete;

    const TMachineStores& Stores() const { return stores_; }

    // An observer is told of changes until it is removed; it must be removed before it
    // dies unless it was told SimulationGone. Observers may come and go while told. One
    // that does not ask for the writes is not told MemoryChanged, RegisterChanged or
    // SysRegChanged, which keeps a run fast.
    enum class TNeeds { Everything, NoWrites };
    void AddObserver(TSimulationObserver* observer, TNeeds needs = TNeeds::Everything);
    void RemoveObserver(TSimulationObserver* observer);

    // --- who writes ---
    TWriteOrigin Origin() const { return origin_; }
    // True while an instruction executes or a step is taken back: the writes are the
    // program's, not the user's.
    bool Executing() const { return origin_ != TWriteOrigin::User; }

    // --- loading ---
    // Writes the image (and the registers) as one bulk write, takes its source map, tells
    // ImageLoaded, then restarts at its PC. Another owner's program (or an image from a
    // file) removes the breakpoints first.
    void LoadImage(const TProgramLoad& program);
    // PC := pc + 2, then pc, so that whatever follows PC always sees a change.
    void Restart(int pc = 0);
    // Many memory writes at once (see BulkWrite).
    void WriteMemoryInBulk(const std::function<void()>& writes);
    // Memory := 0 as a bulk write, then MemoryCleared.
    void ClearMemory();
    // A distinct owner for a program's source map: an editor takes one for its life.
    int NewSourceOwner() { return ++lastSourceOwner_; }
    const TSourceMap& SourceMap() const { return source_; }
    int SourceOwner() const { return sourceOwner_; }

    // --- executing ---
    TStepResult Step();
    // False when there was nothing to take back.
    bool StepBack();
    // Takes back steps from the newest until step is the newest, views frozen.
    void StepBackTo(long long step);

    // A run forward or back: start it, run slices until one ends it, or stop it.
    void StartRun(bool back = false);
    // A run forward that also stops before executing at address (once past the first).
    void StartRunTo(int address);
    // Forward, up to count instructions; stops before an instruction at a breakpoint, but
    // the first one of a run executes wherever it is. Back, up to count steps taken back,
    // stopping when PC reaches a breakpoint. A slice that ends the run tells Stopped.
    TRunOutcome RunSlice(long long count);
    void StopRun();  // tells Stopped(Stopped) when a run was going
    // A whole run forward for the tool and the grader: until the program stops, a
    // breakpoint is reached or count instructions ran; executed tells how many ran.
    TStepResult Run(long long count, long long& executed);
    bool Running() const { return running_; }
    bool RunningBack() const { return running_ && back_; }
    // Instructions executed or taken back by runs since the simulation began.
    long long RunSteps() const { return runSteps_; }

    // Whether steps and runs note the classic mistakes (observers hear Noted); off by
    // default, as a front end that shows no notes need not pay for them.
    void SetWatching(bool on) { watching_ = on; }
    bool Watching() const { return watching_; }

    // Off only to measure what keeping the history costs, and where nothing looks back.
    void SetRecording(bool on) { recording_ = on; }
    bool Recording() const { return recording_; }

    void FreezeViews(bool frozen);
    bool ViewsFrozen() const { return frozen_; }

    // --- the history ---
    const THistory& History() const { return *history_; }
    void ClearHistory();
    // The newest step that wrote a memory cell or register, while the history has it.
    std::optional<THistoryEntry> LastWriteOf(TWriteKind kind, int index) const {
        return history_->LastWriteOf(kind, index);
    }

    // --- breakpoints ---
    const TBreakpoints& Breakpoints() const { return breakpoints_; }
    void ToggleBreakpoint(int address);
    void ClearBreakpoints();  // tells BreakpointsRemoved when there were any
    // All at once, with one BreakpointsChanged.
    void SetBreakpoints(const std::bitset<256>& addresses);

    // --- the front end's file of memory (none in the tool and the grader) ---
    void SetDocument(TMemoryDocument* document) { document_ = document; }
    TMemoryDocument* Document() const { return document_; }

private:
    enum class TStore { Memory, Registers, SysRegs };

    // Sets the origin of the writes while it lives, and restores the one before.
    class TOriginScope {
    public:
        TOriginScope(TSimulation& sim, TWriteOrigin origin) : sim_(sim), before_(sim.origin_) {
            sim_.origin_ = origin;
        }
        ~TOriginScope() { sim_.origin_ = before_; }
        TOriginScope(const TOriginScope&) = delete;
        TOriginScope& operator=(const TOriginScope&) = delete;

    private:
        TSimulation& sim_;
        TWriteOrigin before_;
    };

    template <TWriteKind Kind>
    class TQuietCells;
    class TQuietSysRegs;
    template <class F>
    auto OnRunStores(F run);

    void Changed(TStore store, int index, int oldValue, int newValue);
    void Note(TStore store, int index, int oldValue, int newValue);
    TRunOutcome RunForward(long long count, bool inRun);
    void TellNotes();
    template <class Mem, class Regs, class Sys, class Stop, class Watch>
    engine::TLoopEnd RecordingLoop(Mem& memory, Regs& registers, Sys& sysRegs, long long count,
                                   long long& executed, const Stop& stop, Watch& watch);
    TRunOutcome RunBack(long long count);
    void EndRun(TRunOutcome outcome);
    template <class F>
    void Tell(std::vector<TSimulationObserver*>& observers, F tell);
    template <class F>
    void Tell(F tell) {
        Tell(observers_, tell);
    }

    TMachineStores stores_;
    std::unique_ptr<THistory> history_;
    TBreakpoints breakpoints_;
    TSourceMap source_ = NoSourceMap;
    TRunWatch watch_;  // notes the classic mistakes as the program runs
    int sourceOwner_ = 0;
    int lastSourceOwner_ = 0;
    TWriteOrigin origin_ = TWriteOrigin::User;
    std::vector<TSimulationObserver*> observers_;       // null: removed while telling
    std::vector<TSimulationObserver*> writeObservers_;  // those of them told every write
    int telling_ = 0;
    bool removedWhileTelling_ = false;
    TMemoryDocument* document_ = nullptr;
    bool running_ = false;
    bool back_ = false;
    bool firstOfRun_ = false;
    int runTo_ = -1;  // the address a run to it stops before; -1: none
    bool recording_ = true;
    bool watching_ = false;
    bool frozen_ = false;
    // What the executing instruction wrote, noted from the stores' change events while a
    // recorded step runs: the fetch writes PC, then IR; a PC write after that is a jump.
    struct TNoting {
        bool Active = false;
        bool Fetched = false;
        int FetchPc = 0, OldIr = 0, Word = 0;
        TStepWrite Write;
    } noting_;
    int pc_ = 0;  // as last written
    long long runSteps_ = 0;
};
