#pragma once
// Executes the machine one instruction at a time over its three stores.

#include <bitset>

#include "core/cellstore.h"

class THistory;

// Step results.
constexpr int StepExecuted = 0;
constexpr int StepInvalid = -1;
constexpr int StepHalted = -2;
constexpr int StepBreakpoint = -3;  // stopped before the instruction, nothing executed

// Indices in the PC/IR store.
constexpr int PcIndex = 0;
constexpr int IrIndex = 1;
constexpr int OutputRegister = 15;

// True exactly while an instruction executes: change handlers use it to tell the
// program's writes from the user's.
extern bool Executing;

struct TMachineStores {
    CellStore& MainMemory;  // 256 cells
    CellStore& Registers;   // 16 cells
    CellStore& SysRegs;     // PC, IR
};

// Fetches the word at PC, advances PC by two (PC written before IR), executes it.
int ExecuteInstruction(const TMachineStores& m);

// Up to count instructions; stops at the first non-zero result and returns it
// (0 when count <= 0).
int RunSteps(const TMachineStores& m, long long count);

// As RunSteps, also telling how many instructions ran (the stopping one included).
int RunStepsCounted(const TMachineStores& m, long long count, long long& executed);

// As RunStepsCounted, but ends with StepBreakpoint before executing an instruction whose
// address is in stopAt; with skipFirst the first instruction runs wherever it is.
int RunStepsStopping(const TMachineStores& m, long long count, const std::bitset<256>& stopAt,
                     bool skipFirst, long long& executed);

// As RunStepsCounted, also appending every executed instruction to the history; with
// stopAt, stopping as RunStepsStopping does.
int RunStepsRecorded(const TMachineStores& m, long long count, long long& executed,
                     THistory& history, const std::bitset<256>* stopAt = nullptr,
                     bool skipFirst = false);
