#include "core/execute.h"

#include "core/float8.h"
#include "core/history.h"
#include "core/instruction.h"

bool Executing = false;

namespace {

struct ExecutingScope {
    ExecutingScope() { Executing = true; }
    ~ExecutingScope() { Executing = false; }
    ExecutingScope(const ExecutingScope&) = delete;
    ExecutingScope& operator=(const ExecutingScope&) = delete;
};

int RotateRight(int value, int count) {
    const int k = count & 7;
    const int v = value << (8 - k);
    return (v & 0xFF) | (v >> 8);
}

int SignedByte(int value) {
    return static_cast<signed char>(value & 0xFF);
}

// Stores are templated so the plain store's calls inline; the grid goes through
// the virtual contract. Values are masked to a byte when read: a grid's open
// editor can answer -1 for unfinished text, which must not become an index.
template <class Mem, class Regs, class Sys>
int Execute(Mem& memory, Regs& registers, Sys& sysRegs) {
    ExecutingScope scope;
    auto mem = [&](int a) { return memory.GetContents(a & 0xFF) & 0xFF; };
    auto reg = [&](int r) { return registers.GetContents(r) & 0xFF; };

    int pc = sysRegs.GetContents(PcIndex) & 0xFF;
    const int b1 = mem(pc);
    pc = (pc + 1) & 0xFF;
    const int b2 = mem(pc);
    pc = (pc + 1) & 0xFF;
    sysRegs.SetContents(PcIndex, pc);
    sysRegs.SetContents(IrIndex, b1 * 256 + b2);

    const TInstructionWord w{b1 * 256 + b2};
    if (!IsValidInstruction(w)) return StepInvalid;

    switch (static_cast<TOpcode>(w.Op())) {
        case TOpcode::LoadDirect:
            registers.SetContents(w.R(), mem(w.XY()));
            break;
        case TOpcode::LoadImmediate:
            registers.SetContents(w.R(), w.XY());
            break;
        case TOpcode::StoreDirect:
            memory.SetContents(w.XY(), reg(w.R()));
            break;
        case TOpcode::Move:
            registers.SetContents(w.Y(), reg(w.X()));
            break;
        case TOpcode::AddInt: {
            const int a = reg(w.X()), b = reg(w.Y());
            registers.SetContents(w.R(), (a + b) & 0xFF);
            break;
        }
        case TOpcode::AddFloat: {
            const int a = DecodeFloat8(reg(w.X())), b = DecodeFloat8(reg(w.Y()));
            registers.SetContents(w.R(), EncodeFloat8(a + b));
            break;
        }
        case TOpcode::Or: {
            const int a = reg(w.X()), b = reg(w.Y());
            registers.SetContents(w.R(), a | b);
            break;
        }
        case TOpcode::And: {
            const int a = reg(w.X()), b = reg(w.Y());
            registers.SetContents(w.R(), a & b);
            break;
        }
        case TOpcode::Xor: {
            const int a = reg(w.X()), b = reg(w.Y());
            registers.SetContents(w.R(), a ^ b);
            break;
        }
        case TOpcode::Rotate:
            registers.SetContents(w.R(), RotateRight(reg(w.R()), w.Y()));
            break;
        case TOpcode::JumpEqual:
            if (reg(w.R()) == reg(0)) sysRegs.SetContents(PcIndex, w.XY());
            break;
        case TOpcode::Halt:
            return StepHalted;
        case TOpcode::LoadIndirect:
            registers.SetContents(w.X(), mem(reg(w.Y())));
            break;
        case TOpcode::StoreIndirect: {
            const int value = reg(w.X());
            memory.SetContents(reg(w.Y()), value);
            break;
        }
        case TOpcode::JumpLessEqual:
            if (SignedByte(reg(w.R())) <= SignedByte(reg(0))) sysRegs.SetContents(PcIndex, w.XY());
            break;
        case TOpcode::Invalid:
            return StepInvalid;
    }
    return StepExecuted;
}

constexpr auto NeverStop = [](long long, int) { return false; };

// A stop before an instruction at one of the addresses; with skipFirst the first one of
// the run goes ahead wherever it is.
auto StopAt(const std::bitset<256>& addresses, bool skipFirst) {
    return [&addresses, skipFirst](long long done, int pc) {
        return addresses.test(static_cast<std::size_t>(pc & 0xFF)) && !(skipFirst && done == 0);
    };
}

// Runs until count instructions ran, one failed, or stop(pc) says no before the next.
template <class Mem, class Regs, class Sys, class Stop>
int Loop(Mem& memory, Regs& registers, Sys& sysRegs, long long count, long long& executed,
         Stop stop) {
    int result = StepExecuted;
    executed = 0;
    while (executed < count) {
        if (stop(executed, sysRegs.GetContents(PcIndex))) return StepBreakpoint;
        result = Execute(memory, registers, sysRegs);
        ++executed;
        if (result != StepExecuted) break;
    }
    return result;
}

// Passes every access through and notes the write, so that the history sees what the
// instruction did while the plain loop above stays as it is.
template <class Store>
class TNotingStore {
public:
    TNotingStore(Store& store, TWriteKind kind, TStepWrite& write)
        : store_(store), kind_(kind), write_(write) {}
    int GetContents(int index) const { return store_.GetContents(index); }
    void SetContents(int index, int value) {
        write_ = {kind_, index, store_.GetContents(index) & 0xFF, value & 0xFF};
        store_.SetContents(index, value);
    }

private:
    Store& store_;
    TWriteKind kind_;
    TStepWrite& write_;
};

// PC/IR: the fetch writes PC and then IR; a PC write after that is a taken jump.
template <class Store>
class TNotingSysRegs {
public:
    TNotingSysRegs(Store& store, TStepWrite& write) : store_(store), write_(write) {}
    int GetContents(int index) const { return store_.GetContents(index); }
    void SetContents(int index, int value) {
        const int old = store_.GetContents(index);
        if (index == IrIndex) {
            oldIr_ = old & 0xFFFF;
            fetched_ = true;
        } else if (fetched_) {
            write_ = {TWriteKind::Pc, PcIndex, old & 0xFF, value & 0xFF};
        } else {
            fetchPc_ = old & 0xFF;
        }
        store_.SetContents(index, value);
    }
    void NextStep() { fetched_ = false; }
    int FetchPc() const { return fetchPc_; }
    int OldIr() const { return oldIr_; }

private:
    Store& store_;
    TStepWrite& write_;
    bool fetched_ = false;
    int fetchPc_ = 0, oldIr_ = 0;
};

template <class Mem, class Regs, class Sys, class Stop>
int RecordingLoop(Mem& memory, Regs& registers, Sys& sysRegs, long long count, long long& executed,
                  THistory& history, Stop stop) {
    TStepWrite write;
    TNotingStore<Mem> mem(memory, TWriteKind::Memory, write);
    TNotingStore<Regs> regs(registers, TWriteKind::Register, write);
    TNotingSysRegs<Sys> sys(sysRegs, write);
    int result = StepExecuted;
    executed = 0;
    while (executed < count) {
        if (stop(executed, sysRegs.GetContents(PcIndex))) return StepBreakpoint;
        write = {};
        sys.NextStep();
        result = Execute(mem, regs, sys);
        ++executed;
        history.Record(sys.FetchPc(), sys.OldIr(), sysRegs.GetContents(IrIndex) & 0xFFFF, write);
        if (result != StepExecuted) break;
    }
    return result;
}

// Plain stores are called directly so that their calls inline; any other store goes
// through the virtual contract.
template <class Run>
int OnStores(const TMachineStores& m, Run run) {
    auto* memory = dynamic_cast<TCellStore*>(&m.MainMemory);
    auto* registers = dynamic_cast<TCellStore*>(&m.Registers);
    auto* sysRegs = dynamic_cast<TCellStore*>(&m.SysRegs);
    if (memory && registers && sysRegs) return run(*memory, *registers, *sysRegs);
    return run(m.MainMemory, m.Registers, m.SysRegs);
}

}  // namespace

int ExecuteInstruction(const TMachineStores& m) {
    return Execute(m.MainMemory, m.Registers, m.SysRegs);
}

int RunStepsCounted(const TMachineStores& m, long long count, long long& executed) {
    return OnStores(m, [&](auto& memory, auto& registers, auto& sysRegs) {
        return Loop(memory, registers, sysRegs, count, executed, NeverStop);
    });
}

int RunStepsStopping(const TMachineStores& m, long long count, const std::bitset<256>& stopAt,
                     bool skipFirst, long long& executed) {
    return OnStores(m, [&](auto& memory, auto& registers, auto& sysRegs) {
        return Loop(memory, registers, sysRegs, count, executed, StopAt(stopAt, skipFirst));
    });
}

int RunSteps(const TMachineStores& m, long long count) {
    long long executed = 0;
    return RunStepsCounted(m, count, executed);
}

int RunStepsRecorded(const TMachineStores& m, long long count, long long& executed,
                     THistory& history, const std::bitset<256>* stopAt, bool skipFirst) {
    return OnStores(m, [&](auto& memory, auto& registers, auto& sysRegs) {
        if (stopAt)
            return RecordingLoop(memory, registers, sysRegs, count, executed, history,
                                 StopAt(*stopAt, skipFirst));
        return RecordingLoop(memory, registers, sysRegs, count, executed, history, NeverStop);
    });
}
