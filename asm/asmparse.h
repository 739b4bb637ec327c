#pragma once
// TAsmParser: the scanner that splits source lines into classified tokens, and the assembler
// that turns the whole text into a 256-byte image. The editor highlights a line with
// ReadLine (or SetLine), Tokenize and AssignStyles, then styles each run of Tokens().

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "asm/asmtokens.h"
#include "asm/labeltable.h"
#include "asm/linesource.h"
#include "core/placement.h"

// Receives each error of an assembly: the context given to Assemble, the 0-based line and
// column, and the message. The message is only lent for the duration of the call.
using TErrorSink =
    std::function<void(void* context, int line, int column, std::string_view message)>;

// An instruction the last assembly placed: where, its mnemonic's position, and its address
// operand (a number or label), if it has one.
struct TAsmInstruction {
    int Address = 0;
    int Line = 0;
    int Column = 0;
    int OperandColumn = -1;  // where the number or label operand starts
    int Label = -1;          // the label operand's index in Labels().Entries()
};

class TAsmParser {
public:
    // The parser reads the text through source, which must outlive it.
    explicit TAsmParser(const TLineSource& source);
    TAsmParser(const TAsmParser&) = delete;
    TAsmParser& operator=(const TAsmParser&) = delete;

    // --- Scanning -------------------------------------------------------------------------

    // Makes line i of the source the current line (copied into the parser's buffer).
    void ReadLine(int i);
    // Makes text the current line; it is borrowed, so it must stay alive while in use.
    // Index and offset of the current line are then -1.
    void SetLine(std::string_view text);

    std::string_view CurrentLine() const { return line_; }
    int CurrentLineIndex() const { return lineIndex_; }
    std::int64_t CurrentLineOffset() const { return lineOffset_; }

    // Scans the whole current line into Tokens(), replacing the previous tokens.
    void Tokenize();
    // The token that begins at col, which moves to its end; nothing at the end of the line.
    std::optional<Token> NextToken(int& col) const;
    // Sets Kind and Value of a word token spanning [StartCol, EndCol) of the current line.
    void ClassifyWord(Token& token) const;
    // Sets Value, Valid and WellFormed of a number token of the current line.
    void EvaluateNumber(Token& token) const;
    // Gives every token its highlight class, then merges neighbours of one class into runs.
    // Only for highlighting: Assemble needs the unmerged tokens.
    void AssignStyles();

    const std::vector<Token>& Tokens() const { return tokens_; }

    // --- Assembling -----------------------------------------------------------------------

    // Assembles the whole source into the image; every error goes to sink with context.
    // There were errors exactly when sink was called.
    void Assemble(const TErrorSink& sink, void* context = nullptr);
    // The assembled byte at address 0..255 (0 where nothing was placed); 255 elsewhere.
    int MemoryByte(int address) const;
    // The 0-based source line that placed the byte at address 0..255 in the last assembly;
    // -1 where nothing was placed and for addresses outside 0..255. A label operand's byte
    // belongs to the line that used the label, not the one that defined it.
    int SourceLine(int address) const;
    // The value of a label defined by the last assembly, if it was defined.
    std::optional<int> LabelValue(std::string_view name) const;
    // What the last assembly placed at each address: instructions (Code) or "db" bytes.
    const TPlacement& Placement() const { return placedAs_; }
    // The instructions of the last assembly in source order, and its labels.
    const std::vector<TAsmInstruction>& Instructions() const { return instructions_; }
    const TLabelTable& Labels() const { return labels_; }

private:
    enum class TRuleEnd { Completed, Abandoned, Stopped };

    // Scanning helpers. ScanToken scans the token at col, which must lie inside the line,
    // into t (a default Token) and moves col to its end.
    void ScanToken(int& col, Token& t) const;
    int WordEnd(int col) const;
    int NumberEnd(int col) const;
    int OtherEnd(int col) const;

    // Token cursor of the line being assembled: one token at a time, scanned when the
    // rules ask for it, so a long line costs no memory beyond itself.
    const Token* Current() const { return hasCurrent_ ? &current_ : nullptr; }
    void ScanNext();
    void Advance();
    void SkipSpaces();
    bool AtEnd() const { return Current() == nullptr; }
    bool AtCommentOrEnd() const;

    // Checks and reports.
    void Report(int column, std::string_view message) const;
    bool Expect(TKindSet kinds);
    bool ExpectOr(TKindSet kinds, std::string_view message);
    void Allow(TKindSet kinds);
    bool Emit(int address, int value);
    bool CheckRange(const Token& number, int min, int max);
    bool DefineLabel(const Token& label, bool& stopped);
    bool ReferenceLabel(const Token& label, int address);
    std::string_view TokenText(const Token& token) const;

    // The driver and one rule per mnemonic code.
    bool AssembleLine();
    bool DefineLineLabel(Token label);
    void BeginStatement(const Token& mnemonic);
    TRuleEnd RunRule(int code);
    bool EmitNext(int value);
    void ClaimNext();
    bool NumberByte(const Token& number, int min, int max);
    bool OperandByte(const Token& operand, int min, int max);
    TRuleEnd MoveRule();
    TRuleEnd ArithmeticRule(int code);
    TRuleEnd RotateRule();
    TRuleEnd HaltRule();
    TRuleEnd JumpRule();
    TRuleEnd CompareJumpRule(int code);
    TRuleEnd TargetSteps();
    TRuleEnd LoadStoreRule(bool load);
    TRuleEnd ImmediateOperand(int reg);
    TRuleEnd MemoryOperand(bool load, int reg);
    TRuleEnd OrgRule();
    TRuleEnd DbRule();
    TRuleEnd DbItem();
    void ReportUndefinedLabels();

    const TLineSource& source_;

    // Current line: line_ views either buffer_ (ReadLine) or a borrowed text (SetLine).
    std::string buffer_;
    std::string_view line_;
    int lineIndex_ = -1;
    std::int64_t lineOffset_ = -1;
    std::vector<Token> tokens_;  // Tokenize only
    Token current_;
    bool hasCurrent_ = false;
    int scanCol_ = 0;  // where the token after current_ begins

    // Assembly state; image and labels keep their contents until the next Assemble.
    struct TImageByte {
        std::uint8_t Value = 0;
        bool Used = false;
    };
    std::array<TImageByte, 256> image_{};
    std::array<int, 256> lineOf_{};  // meaningful where image_ is Used
    TPlacement placedAs_{};
    TPlaced placing_ = TPlaced::Code;  // what the statement being assembled places
    std::vector<TAsmInstruction> instructions_;
    int locationCounter_ = 0;
    TLabelTable labels_;
    std::string lastError_;
    const TErrorSink* sink_ = nullptr;
    void* context_ = nullptr;
};
