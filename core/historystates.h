#pragma once
// The machine as it was before a recorded step, found from a state known at one step by
// going through the recorded writes, back (their old values) or forward (their new
// values). Moving by a few steps costs a few steps, so a view that asks for neighbouring
// rows, or a trace written as it runs, pays once per step.

#include <optional>
#include <string>

#include "core/explain.h"
#include "core/history.h"

class THistoryStates {
public:
    // state is the machine just before step (LastStep() + 1 for the machine as it is now).
    THistoryStates(const TMachineState& state, long long step) : state_(state), step_(step) {}

    // The state before step; nothing when the steps between are no longer in the history.
    const TMachineState* Before(const THistory& history, long long step);
    // Step's explanation with the values it met; empty when Before has nothing.
    std::string Explain(const THistory& history, long long step);

private:
    TMachineState state_;
    long long step_;
};

// What the newest step of the history did, with the values it met; nothing when the
// history is empty.
std::optional<std::string> ExplainLastStep(const TMachineStores& m, const THistory& history);
