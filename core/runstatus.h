#pragma once
// The status line every front end shows about running: its text and what its colour
// means, so the desktop and the browser say the same thing in the same words.

#include <string>
#include <string_view>

#include "core/simulation.h"

enum class TStatusTone { Normal, Running, Alert };

struct TRunStatus {
    std::string Text;
    TStatusTone Tone = TStatusTone::Normal;

    bool operator==(const TRunStatus&) const = default;
};

inline constexpr std::string_view ReadyText = "Ready";
inline constexpr std::string_view RunningText = "Running...";

TRunStatus ReadyStatus();
// Full speed forward (and a step) reads RunningText; a run back, and a run at a set rate
// (instructions per second), say so.
TRunStatus RunningStatus(bool back = false, int rate = 0);
// After a run, a slice or a step ended so with PC at pc; Limit and Stopped read "Ready".
TRunStatus OutcomeStatus(TRunOutcome outcome, int pc);
