#pragma once
// What assembling into memory needs from the window that owns the machine.

#include <functional>

#include "core/cellstore.h"

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
};
