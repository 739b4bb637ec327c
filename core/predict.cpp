#include "core/predict.h"

#include <cctype>

#include "core/hex.h"
#include "core/historystates.h"

const std::string_view PredictionHint =
    "Type what the step will change: R3 0F, [80] 2A, PC 0E, - (nothing), halt or invalid";

namespace {

bool Blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
    return text;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) return false;
    for (size_t i = 0; i < word.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    return true;
}

bool IsWord(std::string_view text, std::string_view word) {
    return text.size() == word.size() && StartsWithWord(text, word);
}

// One or two hex digits and nothing else; -1 otherwise.
int HexByteOf(std::string_view text) {
    if (text.empty() || text.size() > 2) return -1;
    return ParseHex(text);
}

// The value after the target: blanks, an optional "=" or ":=", blanks, the byte.
int ValuePart(std::string_view rest) {
    rest = Trimmed(rest);
    if (rest.starts_with(":="))
        rest.remove_prefix(2);
    else if (rest.starts_with('='))
        rest.remove_prefix(1);
    return HexByteOf(Trimmed(rest));
}

std::optional<TPrediction> Change(TPredictKind kind, int index, std::string_view rest) {
    const int value = ValuePart(rest);
    if (index < 0 || value < 0) return std::nullopt;
    return TPrediction{kind, index, value};
}

}  // namespace

std::optional<TPrediction> ParsePrediction(std::string_view text) {
    text = Trimmed(text);
    if (text == "-") return TPrediction{TPredictKind::Nothing};
    if (IsWord(text, "halt")) return TPrediction{TPredictKind::Halt};
    if (IsWord(text, "invalid")) return TPrediction{TPredictKind::Invalid};
    if (StartsWithWord(text, "pc")) return Change(TPredictKind::Jump, 0, text.substr(2));
    if (StartsWithWord(text, "r") && text.size() >= 2)
        return Change(TPredictKind::Register, HexDigitValue(text[1]), text.substr(2));
    if (text.starts_with('[')) {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        return Change(TPredictKind::Memory, HexByteOf(Trimmed(text.substr(1, close - 1))),
                      text.substr(close + 1));
    }
    return std::nullopt;
}

std::string PredictionText(const TPrediction& p) {
    switch (p.Kind) {
        case TPredictKind::Register:
            return "R" + FormatHex(p.Index, 1) + " " + HexByte(p.Value);
        case TPredictKind::Memory:
            return "[" + HexByte(p.Index) + "] " + HexByte(p.Value);
        case TPredictKind::Jump:
            return "PC " + HexByte(p.Value);
        case TPredictKind::Nothing:
            return "-";
        case TPredictKind::Halt:
            return "halt";
        case TPredictKind::Invalid:
            break;
    }
    return "invalid";
}

TPrediction ActualChange(const THistoryEntry& step) {
    const TStepWrite& w = step.Write;
    switch (w.Kind) {
        case TWriteKind::Register:
            return {TPredictKind::Register, w.Index, w.New};
        case TWriteKind::Memory:
            return {TPredictKind::Memory, w.Index, w.New};
        case TWriteKind::Pc:
            return {TPredictKind::Jump, 0, w.New};
        case TWriteKind::None:
            break;
    }
    const TStepResult result = step.Result();
    return {result == TStepResult::Halted    ? TPredictKind::Halt
            : result == TStepResult::Invalid ? TPredictKind::Invalid
                                             : TPredictKind::Nothing};
}

std::optional<TVerdict> JudgeLastStep(const TPrediction& prediction, const TMachineStores& m,
                                      const THistory& history) {
    if (history.Empty()) return std::nullopt;
    const TPrediction actual = ActualChange(history.Entry(history.Size() - 1));
    const bool right = prediction == actual;
    std::string text = right ? "Right. "
                             : "Wrong: you said " + PredictionText(prediction) + ", the step did " +
                                   PredictionText(actual) + ". ";
    return TVerdict{right, text + ExplainLastStep(m, history).value_or("")};
}

std::string TPredictScore::Text() const {
    return std::to_string(Right) + " of " + std::to_string(Total) + " right";
}
