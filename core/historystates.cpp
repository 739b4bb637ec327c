#include "core/historystates.h"

namespace {

void Put(TMachineState& state, const TStepWrite& write, int value) {
    if (write.Kind == TWriteKind::Register) state.Registers[write.Index & 0xF] = value & 0xFF;
    if (write.Kind == TWriteKind::Memory) state.Memory[write.Index & 0xFF] = value & 0xFF;
}

}  // namespace

const TMachineState* THistoryStates::Before(const THistory& history, long long step) {
    const long long first = history.FirstStep();
    const long long end = history.LastStep() + 1;
    if (step < first || step > end || step_ < first || step_ > end) return nullptr;
    for (; step_ > step; --step_) {
        const THistoryEntry e = history.Entry(step_ - 1 - first);
        Put(state_, e.Write, e.Write.Old);
        state_.Pc = e.Pc;
    }
    for (; step_ < step; ++step_) {
        const THistoryEntry e = history.Entry(step_ - first);
        Put(state_, e.Write, e.Write.New);
        state_.Pc = e.Write.Kind == TWriteKind::Pc ? e.Write.New : (e.Pc + 2) & 0xFF;
    }
    return &state_;
}

std::string THistoryStates::Explain(const THistory& history, long long step) {
    const TMachineState* state = Before(history, step);
    if (!state || step > history.LastStep()) return {};
    return ExplainWord(history.Entry(step - history.FirstStep()).Word, *state);
}

std::optional<std::string> ExplainLastStep(const TMachineStores& m, const THistory& history) {
    if (history.Empty()) return std::nullopt;
    THistoryStates states(ReadMachineState(m), history.LastStep() + 1);
    return states.Explain(history, history.LastStep());
}
