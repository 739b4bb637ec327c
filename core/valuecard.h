#pragma once
// The value card: what a byte in a memory cell or register means in each of the
// machine's readings (hex, unsigned, signed, float8, character, instruction), and which
// step of the history wrote it. Lines of UTF-8 text, the first naming the cell.

#include <string>
#include <vector>

#include "core/execute.h"

class THistory;

enum class TValueCell { Memory, Register, SysReg };  // SysReg: index PcIndex or IrIndex

// No lines when the index is outside the store or the cell holds no byte (IR: no 16-bit
// word); a store takes any int, but these readings are a byte's.
std::vector<std::string> ValueCard(const TMachineStores& m, const THistory& history,
                                   TValueCell cell, int index);
