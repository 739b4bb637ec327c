#pragma once
// Predict mode: before a step the student says what it will change, in the trace's
// terms, typed: "R3 0F" (a register's new value), "[80] 2A" (a memory cell's), "PC 0E" (a
// jump taken), "-" (nothing: a jump not taken), "halt", or "invalid" (a word that is no
// instruction). The step is then judged against what the history recorded.

#include <optional>
#include <string>
#include <string_view>

#include "core/execute.h"
#include "core/history.h"

enum class TPredictKind { Register, Memory, Jump, Nothing, Halt, Invalid };

struct TPrediction {
    TPredictKind Kind = TPredictKind::Nothing;
    int Index = 0;  // the register or memory cell
    int Value = 0;  // the new value, or the jump's address

    bool operator==(const TPrediction&) const = default;
};

// Either case, blanks around the parts, "=" or ":=" allowed before the value, one or two
// hex digits. Nothing for anything else.
std::optional<TPrediction> ParsePrediction(std::string_view text);

// The prediction as typed in its plain form: "R3 0F", "[80] 2A", "PC 0E", "-", "halt".
std::string PredictionText(const TPrediction& prediction);

// What the step did, as the prediction that is right about it.
TPrediction ActualChange(const THistoryEntry& step);

// A prediction judged against the newest step: right or not, and what the panel says,
// "Right. " or "Wrong: you said R2 0F, the step did R2 0A. " before what the step did with
// its values.
struct TVerdict {
    bool Right = false;
    std::string Text;
};

// Nothing when the history holds no step. m is the machine as it is after that step.
std::optional<TVerdict> JudgeLastStep(const TPrediction& prediction, const TMachineStores& m,
                                      const THistory& history);

// How to type a prediction, for a text that is none.
extern const std::string_view PredictionHint;

// The running score: "7 of 9 right".
struct TPredictScore {
    int Right = 0;
    int Total = 0;

    void Count(bool right) {
        Right += right ? 1 : 0;
        ++Total;
    }
    std::string Text() const;
};
