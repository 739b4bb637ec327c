#pragma once
// What assembling into memory needs from the window that owns the machine.

#include <functional>

#include "core/cellstore.h"

// What an editor follows of the machine it assembled into.
class TMachineFollower {
public:
    virtual ~TMachineFollower() = default;
    virtual void BreakpointsChanged() = 0;
    // PC as the views show it: after each change, but only at the screen's rate while a
    // full-speed run keeps the views frozen.
    virtual void PcShown(int pc) = 0;
    // Memory was written by anything other than the running program.
    virtual void MemoryEdited() = 0;
    // The target is going away before the follower; it must not be called any more.
    virtual void TargetGone() = 0;
};

class TAssembleTarget {
public:
    virtual ~TAssembleTarget() = default;
    virtual bool MemModified() const = 0;
    virtual void SetMemModified(bool flag) = 0;
    // The owner's Save command; it may ask for a name, and be cancelled or fail.
    virtual void SaveMemory() = 0;
    virtual CellStore& MemoryStore() = 0;
    virtual CellStore& RegisterStore() = 0;  // R0..RF; a write to RF is output
    virtual CellStore& SysRegStore() = 0;    // cell 0 is the program counter
    // Runs many memory writes with the disassembly list frozen; it repaints once after.
    virtual void WriteMemoryInBulk(const std::function<void()>& writes) = 0;
    // Gives the owner's window the focus.
    virtual void Activate() = 0;

    // The breakpoints of the running program, shared by every window.
    virtual bool HasBreakpoint(int address) const = 0;
    virtual void ToggleBreakpoint(int address) = 0;
    // A follower is told of changes until it is removed; it must be removed before it dies
    // unless it was told TargetGone.
    virtual void AddFollower(TMachineFollower* follower) = 0;
    virtual void RemoveFollower(TMachineFollower* follower) = 0;
};
