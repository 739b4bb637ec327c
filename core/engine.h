#pragma once
// The execution engine behind ExecuteInstruction, RunSteps and the simulation: one
// instruction, and loops of them that stop at a budget, a halt, an invalid word or a
// breakpoint. Stores are template
// parameters so that a plain store's calls inline; a grid goes through the virtual
// contract. Only core/ includes this header.

#include <bitset>

#include "core/execute.h"
#include "core/float8.h"
#include "core/instruction.h"

namespace engine {

// How a loop of instructions ended.
enum class TLoopEnd { Budget, Halted, Invalid, Breakpoint };

inline TLoopEnd EndOf(TStepResult result) {
    return result == TStepResult::Halted    ? TLoopEnd::Halted
           : result == TStepResult::Invalid ? TLoopEnd::Invalid
                                            : TLoopEnd::Budget;
}

inline int RotateRight(int value, int count) {
    const int k = count & 7;
    const int v = value << (8 - k);
    return (v & 0xFF) | (v >> 8);
}

inline int SignedByte(int value) {
    return static_cast<signed char>(value & 0xFF);
}

// The one write of an instruction with opcode Op, where the instruction table says.
template <TOpcode Op, class Mem, class Regs, class Sys>
void Put(TInstructionWord w, int value, Mem& memory, Regs& registers, Sys& sysRegs) {
    constexpr TWriteTarget target = InstructionInfo(Op).Writes;
    if constexpr (target == TWriteTarget::RegisterR)
        registers.SetContents(w.R(), value);
    else if constexpr (target == TWriteTarget::RegisterX)
        registers.SetContents(w.X(), value);
    else if constexpr (target == TWriteTarget::RegisterY)
        registers.SetContents(w.Y(), value);
    else if constexpr (target == TWriteTarget::MemoryXY)
        memory.SetContents(w.XY(), value);
    else if constexpr (target == TWriteTarget::MemoryAtRegister)
        memory.SetContents(registers.GetContents(w.Y()) & 0xFF, value);
    else {
        static_assert(target == TWriteTarget::Pc, "this opcode writes nothing");
        sysRegs.SetContents(PcIndex, w.XY());
    }
}

// Watches nothing: its hooks cost nothing.
struct TNoWatch {
    void Fetched(int) {}
    void WentOn(int) {}
    void AddedFloat(int, int, int, int, int) {}
    void Stored(int, int) {}
};

// Fetches the word at PC, advances PC by two (PC written before IR), executes it. Values
// are masked to a byte when read, so that whatever a store holds never becomes an index
// outside the machine. The watch hears of the fetch, the stores, the addfs and an
// instruction that goes on to the next one (see TRunWatch).
// Always inlined into the loops: a call per instruction costs the plain-store loop a tenth.
template <class Mem, class Regs, class Sys, class Watch = TNoWatch>
[[gnu::always_inline]] inline TStepResult Execute(Mem& memory, Regs& registers, Sys& sysRegs,
                                                  Watch&& watch = {}) {
    auto mem = [&](int a) { return memory.GetContents(a & 0xFF) & 0xFF; };
    auto reg = [&](int r) { return registers.GetContents(r) & 0xFF; };

    const int at = sysRegs.GetContents(PcIndex) & 0xFF;
    watch.Fetched(at);
    int pc = at;
    const int b1 = mem(pc);
    pc = (pc + 1) & 0xFF;
    const int b2 = mem(pc);
    pc = (pc + 1) & 0xFF;
    sysRegs.SetContents(PcIndex, pc);
    sysRegs.SetContents(IrIndex, b1 * 256 + b2);

    const TInstructionWord w{b1 * 256 + b2};
    if (!IsValidInstruction(w)) return TStepResult::Invalid;

    using enum TOpcode;
    auto put = [&]<TOpcode Op>(int value) { Put<Op>(w, value, memory, registers, sysRegs); };
    switch (static_cast<TOpcode>(w.Op())) {
        case LoadDirect:
            put.template operator()<LoadDirect>(mem(w.XY()));
            break;
        case LoadImmediate:
            put.template operator()<LoadImmediate>(w.XY());
            break;
        case StoreDirect:
            watch.Stored(at, w.XY());
            put.template operator()<StoreDirect>(reg(w.R()));
            break;
        case Move:
            put.template operator()<Move>(reg(w.X()));
            break;
        case AddInt:
            put.template operator()<AddInt>((reg(w.X()) + reg(w.Y())) & 0xFF);
            break;
        case AddFloat: {
            const int a = reg(w.X()), b = reg(w.Y());
            const int sum = EncodeFloat8(DecodeFloat8(a) + DecodeFloat8(b));
            watch.AddedFloat(at, w.R(), a, b, sum);
            put.template operator()<AddFloat>(sum);
            break;
        }
        case Or:
            put.template operator()<Or>(reg(w.X()) | reg(w.Y()));
            break;
        case And:
            put.template operator()<And>(reg(w.X()) & reg(w.Y()));
            break;
        case Xor:
            put.template operator()<Xor>(reg(w.X()) ^ reg(w.Y()));
            break;
        case Rotate:
            put.template operator()<Rotate>(RotateRight(reg(w.R()), w.Y()));
            break;
        case JumpEqual:
            if (reg(w.R()) == reg(0)) {
                put.template operator()<JumpEqual>(w.XY());
                return TStepResult::Executed;
            }
            break;
        case Halt:
            return TStepResult::Halted;
        case LoadIndirect:
            put.template operator()<LoadIndirect>(mem(reg(w.Y())));
            break;
        case StoreIndirect:
            watch.Stored(at, reg(w.Y()));
            put.template operator()<StoreIndirect>(reg(w.X()));
            break;
        case JumpLessEqual:
            if (SignedByte(reg(w.R())) <= SignedByte(reg(0))) {
                put.template operator()<JumpLessEqual>(w.XY());
                return TStepResult::Executed;
            }
            break;
        case Invalid:
            return TStepResult::Invalid;
    }
    watch.WentOn(at);
    return TStepResult::Executed;
}

// No stop before any instruction: the loop never even reads PC for it.
struct TNeverStop {
    template <class Sys>
    bool Before(long long, const Sys&) const {
        return false;
    }
};

// A stop before an instruction at one of the addresses; with SkipFirst the first one of
// the loop goes ahead wherever it is.
struct TStopAt {
    const std::bitset<256>& Addresses;
    bool SkipFirst;
    template <class Sys>
    bool Before(long long done, const Sys& sysRegs) const {
        return Addresses.test(static_cast<std::size_t>(sysRegs.GetContents(PcIndex) & 0xFF)) &&
               !(SkipFirst && done == 0);
    }
};

// Runs until count instructions ran, one failed, or stop says no before the next.
template <class Mem, class Regs, class Sys, class Stop, class Watch = TNoWatch>
TLoopEnd Loop(Mem& memory, Regs& registers, Sys& sysRegs, long long count, long long& executed,
              const Stop& stop, Watch&& watch = {}) {
    executed = 0;
    while (executed < count) {
        if (stop.Before(executed, sysRegs)) return TLoopEnd::Breakpoint;
        const TStepResult result = Execute(memory, registers, sysRegs, watch);
        ++executed;
        if (result != TStepResult::Executed) return EndOf(result);
    }
    return TLoopEnd::Budget;
}

// Plain stores are called directly so that their calls inline; any other store goes
// through the virtual contract.
template <class Run>
auto OnStores(const TMachineStores& m, Run run) {
    auto* memory = dynamic_cast<TCellStore*>(&m.MainMemory);
    auto* registers = dynamic_cast<TCellStore*>(&m.Registers);
    auto* sysRegs = dynamic_cast<TCellStore*>(&m.SysRegs);
    if (memory && registers && sysRegs) return run(*memory, *registers, *sysRegs);
    return run(m.MainMemory, m.Registers, m.SysRegs);
}

}  // namespace engine
