// The driver of TAsmParser: reads the source line by line, handles the label at the start
// of a line, hands the mnemonic to its rule, and provides the checks the rules share.
#include "asm/asmparse.h"
#include "asm/messages.h"

namespace {

constexpr int LongLine = 1000;
constexpr int LongLineColumn = 998;

}  // namespace

void TAsmParser::Assemble(const TErrorSink& sink, void* context) {
    sink_ = &sink;
    context_ = context;
    image_.fill({});
    lineOf_.fill(-1);
    placedAs_.fill(TPlaced::Nothing);
    instructions_.clear();
    labels_.Clear();
    locationCounter_ = 0;

    bool stopped = false;
    for (int i = 0, n = source_.LineCount(); i < n && !stopped; ++i) {
        ReadLine(i);
        stopped = !AssembleLine();
    }
    if (!stopped) ReportUndefinedLabels();
    sink_ = nullptr;
    context_ = nullptr;
}

bool TAsmParser::AssembleLine() {
    if (line_.size() >= static_cast<std::size_t>(LongLine))
        Report(LongLineColumn, AsmMessages::LineTooLong);
    // Blank lines and comment lines, much of a long source, need no tokens.
    std::size_t first = 0;
    while (first < line_.size() && (line_[first] == ' ' || line_[first] == '\t')) ++first;
    if (first == line_.size() || line_[first] == ';') return true;
    scanCol_ = static_cast<int>(first);
    ScanNext();
    SkipSpaces();
    if (AtCommentOrEnd() || !Expect({twMnemonic, twLabel})) return true;

    if (Current()->Kind == twLabel) {
        if (!DefineLineLabel(*Current())) return false;
        if (AtCommentOrEnd()) return true;
        if (Current()->Kind != twMnemonic) {
            Report(Current()->StartCol, AsmMessages::UnknownIdentifier);
            return true;
        }
    }
    const int code = Current()->Value;
    BeginStatement(*Current());
    Advance();
    const TRuleEnd end = RunRule(code);
    if (end == TRuleEnd::Stopped) return false;
    if (end == TRuleEnd::Completed) {
        SkipSpaces();
        if (!AtCommentOrEnd()) Report(Current()->StartCol, AsmMessages::ExtraCharacters);
    }
    return true;
}

// Defines the label that starts the line and passes it and its colon. False when the
// definition had to stop the assembly.
bool TAsmParser::DefineLineLabel(Token label) {
    bool stopped = false;
    if (!DefineLabel(label, stopped)) {
        Report(label.EndCol, lastError_);
        if (stopped) return false;
    }
    Advance();
    if (!AtEnd() && Current()->Kind == twColon)
        Advance();
    else
        Expect({twColon});
    return true;
}

// Notes what the statement that begins with mnemonic places: "db" data, or an instruction.
void TAsmParser::BeginStatement(const Token& mnemonic) {
    placing_ = mnemonic.Value == kwDb ? TPlaced::Data : TPlaced::Code;
    if (mnemonic.Value != kwDb && mnemonic.Value != kwOrg)
        instructions_.push_back({locationCounter_, lineIndex_, mnemonic.StartCol});
}

void TAsmParser::ReportUndefinedLabels() {
    std::string message;
    for (const TLabelEntry& label : labels_.Entries()) {
        if (label.Defined()) continue;
        message.assign(AsmMessages::NotDefined).append(labels_.Name(label));
        (*sink_)(context_, label.Line, label.Column, message);
    }
}

void TAsmParser::ScanNext() {
    hasCurrent_ = scanCol_ < static_cast<int>(line_.size());
    if (!hasCurrent_) return;
    current_ = Token{};
    ScanToken(scanCol_, current_);
}

void TAsmParser::Advance() {
    if (hasCurrent_) ScanNext();
    SkipSpaces();
}

void TAsmParser::SkipSpaces() {
    while (hasCurrent_ && current_.Kind == twSpace) ScanNext();
}

bool TAsmParser::AtCommentOrEnd() const {
    return AtEnd() || Current()->Kind == twComment;
}

void TAsmParser::Report(int column, std::string_view message) const {
    (*sink_)(context_, lineIndex_, column, message);
}

bool TAsmParser::Expect(TKindSet kinds) {
    if (AtEnd()) {
        Report(static_cast<int>(line_.size()),
               std::string(AsmMessages::UnexpectedEnd) + AsmMessages::ExpectedList(kinds));
        return false;
    }
    if (kinds.Has(Current()->Kind)) return true;
    Report(Current()->StartCol,
           std::string(AsmMessages::SyntaxError) + AsmMessages::ExpectedList(kinds));
    return false;
}

bool TAsmParser::ExpectOr(TKindSet kinds, std::string_view message) {
    if (AtEnd() || kinds.Has(Current()->Kind)) return Expect(kinds);
    Report(Current()->StartCol, message);
    return false;
}

void TAsmParser::Allow(TKindSet kinds) {
    if (Expect(kinds)) Advance();
}

bool TAsmParser::Emit(int address, int value) {
    if (address < 0)
        lastError_ = AsmMessages::AddressBelow0;
    else if (address > 255)
        lastError_ = AsmMessages::AddressAbove255;
    else if (image_[address].Used)
        lastError_ = AsmMessages::AddressInUse;
    else {
        image_[address] = {static_cast<std::uint8_t>(value & 0xFF), true};
        return true;
    }
    return false;
}

bool TAsmParser::CheckRange(const Token& number, int min, int max) {
    if (number.Kind != twNumber || !number.Valid) {
        lastError_ = AsmMessages::InvalidNumber;
    } else if (number.Value < min) {
        lastError_.assign(AsmMessages::SmallerThan).append(std::to_string(min));
    } else if (number.Value > max) {
        lastError_.assign(AsmMessages::LargerThan).append(std::to_string(max));
    } else {
        return true;
    }
    return false;
}

int TAsmParser::MemoryByte(int address) const {
    return address >= 0 && address <= 255 ? image_[address].Value : 0xFF;
}

int TAsmParser::SourceLine(int address) const {
    if (address < 0 || address > 255 || !image_[static_cast<std::size_t>(address)].Used) return -1;
    return lineOf_[static_cast<std::size_t>(address)];
}
