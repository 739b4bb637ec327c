#pragma once
// One plain sentence for what an instruction does, with the machine's actual values:
// "R3 := R1 + R2 = 05 + 0A = 0F (5 + 10 = 15)". Pure functions of a copy of the
// machine's state, so the window, the tool and the browser edition say the same.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/execute.h"

// What an instruction reads: memory, the registers and where it was fetched.
struct TMachineState {
    std::array<uint8_t, 256> Memory{};
    std::array<uint8_t, 16> Registers{};
    int Pc = 0;
};

// The longest explanation, in bytes.
constexpr int MaxExplanation = 159;

// The explanation's column in a trace, after the trace's own.
inline constexpr std::string_view ExplanationColumnName = "explanation";

TMachineState ReadMachineState(const TMachineStores& m);

// The instruction at the state's PC.
std::string ExplainInstruction(const TMachineState& state);
// The word as if fetched from the state's PC.
std::string ExplainWord(int word, const TMachineState& state);
