#pragma once
// Executes the machine one instruction at a time over its three stores. These calls run
// the bare machine; a front end drives it through TSimulation, which also keeps the
// history, the breakpoints and the origin of every write.

#include <string_view>

#include "core/cellstore.h"

// What one instruction did: executed normally, or stopped the program.
enum class TStepResult : int { Executed = 0, Invalid = -1, Halted = -2 };

// A run that ended with result, as the tool, the grader and the window name it:
// "halted", "invalid", or "limit" when it was still executing as its budget ran out.
std::string_view StatusName(TStepResult result);
// The result StatusName names so; nothing for any other text.
bool ParseStatusName(std::string_view name, TStepResult& result);

// Indices in the PC/IR store.
constexpr int PcIndex = 0;
constexpr int IrIndex = 1;
constexpr int OutputRegister = 15;

struct TMachineStores {
    CellStore& MainMemory;  // 256 cells
    CellStore& Registers;   // 16 cells
    CellStore& SysRegs;     // PC, IR
};

// Fetches the word at PC, advances PC by two (PC written before IR), executes it.
TStepResult ExecuteInstruction(const TMachineStores& m);

// Up to count instructions; stops at the first result that is not Executed and returns
// it (Executed when count <= 0).
TStepResult RunSteps(const TMachineStores& m, long long count);

// As RunSteps, also telling how many instructions ran (the stopping one included).
TStepResult RunStepsCounted(const TMachineStores& m, long long count, long long& executed);
