#pragma once
// A machine without a user interface: the three plain stores and the simulation that
// runs on them, with every write to RF passed to an output callback (the program's only
// output device). The command-line tool and the grader use it.

#include <functional>

#include "core/cellstore.h"
#include "core/execute.h"
#include "core/memfile.h"
#include "core/simulation.h"

class TMachine {
public:
    // With a history capacity the simulation records executed steps (the oldest go
    // first); with none it records nothing.
    explicit TMachine(long long historyCapacity = 0);
    ~TMachine();
    TMachine(const TMachine&) = delete;
    TMachine& operator=(const TMachine&) = delete;

    TCellStore MainMemory{256};
    TCellStore Registers{16};
    TCellStore SysRegs{2};
    TSimulation Simulation;

    // Called with the value of every write to RF, repeated values included (not for
    // the writes of a step back, which takes output back).
    std::function<void(int)> OnOutput;

    TMachineStores Stores() { return {MainMemory, Registers, SysRegs}; }

private:
    class TOutput final : public TSimulationObserver {
    public:
        explicit TOutput(TMachine& machine) : machine_(machine) {}
        void OutputWritten(int value) override {
            if (machine_.OnOutput) machine_.OnOutput(value);
        }

    private:
        TMachine& machine_;
    };
    TOutput output_{*this};
};
