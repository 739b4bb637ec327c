#include "core/runstatus.h"

#include "core/hex.h"

TRunStatus ReadyStatus() {
    return {std::string(ReadyText), TStatusTone::Normal};
}

TRunStatus RunningStatus(bool back, int rate) {
    if (back) return {"Running back...", TStatusTone::Running};
    if (rate > 0) return {"Running at " + std::to_string(rate) + "/s...", TStatusTone::Running};
    return {std::string(RunningText), TStatusTone::Running};
}

TRunStatus OutcomeStatus(TRunOutcome outcome, int pc) {
    switch (outcome) {
        case TRunOutcome::Halted:
            return {"Halted", TStatusTone::Alert};
        case TRunOutcome::Invalid:
            return {"Invalid instruction", TStatusTone::Alert};
        case TRunOutcome::HistoryStart:
            return {"Start of history", TStatusTone::Normal};
        case TRunOutcome::Breakpoint:
            return {"Breakpoint at " + HexByte(pc), TStatusTone::Alert};
        case TRunOutcome::Limit:
        case TRunOutcome::Stopped:
            break;
    }
    return ReadyStatus();
}
