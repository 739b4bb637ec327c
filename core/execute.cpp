#include "core/execute.h"

#include "core/engine.h"

namespace {

struct TStatusName {
    TStepResult Result;
    std::string_view Name;
};
constexpr TStatusName StatusNames[] = {
    {TStepResult::Halted, "halted"},
    {TStepResult::Invalid, "invalid"},
    {TStepResult::Executed, "limit"},
};

}  // namespace

std::string_view StatusName(TStepResult result) {
    for (const TStatusName& entry : StatusNames)
        if (entry.Result == result) return entry.Name;
    return {};
}

bool ParseStatusName(std::string_view name, TStepResult& result) {
    for (const TStatusName& entry : StatusNames)
        if (entry.Name == name) {
            result = entry.Result;
            return true;
        }
    return false;
}

TStepResult ExecuteInstruction(const TMachineStores& m) {
    return engine::Execute(m.MainMemory, m.Registers, m.SysRegs);
}

TStepResult RunStepsCounted(const TMachineStores& m, long long count, long long& executed) {
    const engine::TLoopEnd end = engine::OnStores(m, [&](auto& memory, auto& registers, auto& sys) {
        return engine::Loop(memory, registers, sys, count, executed, engine::TNeverStop{});
    });
    return end == engine::TLoopEnd::Halted    ? TStepResult::Halted
           : end == engine::TLoopEnd::Invalid ? TStepResult::Invalid
                                              : TStepResult::Executed;
}

TStepResult RunSteps(const TMachineStores& m, long long count) {
    long long executed = 0;
    return RunStepsCounted(m, count, executed);
}
