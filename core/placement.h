#pragma once
// What the last assembly placed at each address: an instruction's bytes, or data placed
// by "db". Warnings and run-time notes read it to tell code from data.

#include <array>
#include <cstdint>

enum class TPlaced : std::uint8_t { Nothing, Code, Data };

using TPlacement = std::array<TPlaced, 256>;  // value-initialised: Nothing everywhere
