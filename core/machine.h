#pragma once
// A machine without a user interface: the three plain stores, wired so that every
// write to RF reaches an output callback (the program's only output device).

#include <functional>

#include "core/cellstore.h"
#include "core/execute.h"
#include "core/memfile.h"

class TMachine {
public:
    TMachine();
    TMachine(const TMachine&) = delete;
    TMachine& operator=(const TMachine&) = delete;

    TCellStore MainMemory{256};
    TCellStore Registers{16};
    TCellStore SysRegs{2};

    // Called with the value of every write to RF, repeated values included (not for
    // the writes of a step back, which takes output back).
    std::function<void(int)> OnOutput;

    TMachineStores Stores() { return {MainMemory, Registers, SysRegs}; }
    void LoadMemory(const TMemoryImage& image);
    TMemoryImage Memory() const;
};
