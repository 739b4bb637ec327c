#pragma once
// A machine on plain stores with its output collected, and helpers to load bytes.

#include <initializer_list>
#include <string>
#include <vector>

#include "core/machine.h"

struct TTestMachine : TMachine {
    std::string Output;  // every value written to RF, as characters

    explicit TTestMachine(long long historyCapacity = THistory::DefaultCapacity)
        : TMachine(historyCapacity) {
        OnOutput = [this](int value) { Output.push_back(static_cast<char>(value)); };
    }
    void Poke(int address, std::initializer_list<int> bytes) {
        for (int b : bytes) MainMemory.SetContents(address++ & 0xFF, b);
    }
    void SetRegs(const std::vector<std::pair<int, int>>& values) {
        for (auto [r, v] : values) Registers.SetContents(r, v);
    }
    int Pc() { return SysRegs.GetContents(PcIndex); }
    int Ir() { return SysRegs.GetContents(IrIndex); }
    int Reg(int r) { return Registers.GetContents(r); }
    int Mem(int a) { return MainMemory.GetContents(a); }
    TStepResult Step() { return ExecuteInstruction(Stores()); }
    const THistory& History() const { return Simulation.History(); }
};
