#pragma once
// The tokens of one source line and the sets of token kinds the grammar expects.

#include <cstdint>
#include <initializer_list>

#include "core/instruction.h"

// Punctuation kinds carry the code of their character, so sets of kinds are bit sets over
// the members 2..97; no rule of the grammar expects kinds 0 and 1.
enum TTokenWhat : std::uint8_t {
    twOther = 0,     // characters that begin no other token
    twLess = 1,      // "<" not followed by "="
    twMnemonic = 2,  // Value: keyword code
    twRegister = 3,  // Value: register number 0..15
    twLabel = 4,     // Value: 0, or HiddenKeywordValue
    twComma = ',',
    twColon = ':',
    twLessEqual = '<',  // the two characters "<="
    twEqual = '=',
    twLBracket = '[',
    twRBracket = ']',
    twNumber = 94,   // Value: the number when Valid
    twString = 95,   // quotes included; Value 1 when closed, 0 when it runs to the line end
    twComment = 96,  // ";" to the end of the line
    twSpace = 97,    // blanks and tabs
};

// Value of the label token that is really the hidden keyword.
constexpr int HiddenKeywordValue = 0x9D;

// Keyword codes: 04..0F are the opcode nibble; the others choose their encoding later.
enum TKeywordCode : int {
    kwMove = static_cast<int>(TOpcode::Move),
    kwAddi = static_cast<int>(TOpcode::AddInt),
    kwAddf = static_cast<int>(TOpcode::AddFloat),
    kwOr = static_cast<int>(TOpcode::Or),
    kwAnd = static_cast<int>(TOpcode::And),
    kwXor = static_cast<int>(TOpcode::Xor),
    kwRor = static_cast<int>(TOpcode::Rotate),
    kwJmpEQ = static_cast<int>(TOpcode::JumpEqual),
    kwHalt = static_cast<int>(TOpcode::Halt),
    kwJmpLE = static_cast<int>(TOpcode::JumpLessEqual),
    kwJmp = 0xFB,
    kwStore = 0xFC,
    kwLoad = 0xFD,
    kwOrg = 0xFE,
    kwDb = 0xFF,
};

// The look of a token in the editor.
enum class THighlightClass : std::uint8_t {
    Normal,
    Keyword,
    Numeric,
    String,
    Comment,
    Error,
    HiddenKeyword,
};

struct Token {
    TTokenWhat Kind = twOther;
    int StartCol = 0;  // first character
    int EndCol = 0;    // just after the last character; tokens are never empty
    THighlightClass Style = THighlightClass::Normal;  // set by AssignStyles only
    int Value = 0;
    bool Valid = false;       // numbers: well formed and not above 2147483647
    bool WellFormed = false;  // numbers: every character belongs to the number's base
};

class TKindSet {
public:
    constexpr TKindSet(std::initializer_list<TTokenWhat> kinds) {
        for (TTokenWhat k : kinds) bits_[k / 64] |= std::uint64_t{1} << (k % 64);
    }
    constexpr bool Has(TTokenWhat kind) const { return (bits_[kind / 64] >> (kind % 64) & 1) != 0; }
    constexpr void Remove(TTokenWhat kind) {
        bits_[kind / 64] &= ~(std::uint64_t{1} << (kind % 64));
    }
    constexpr bool Empty() const { return bits_[0] == 0 && bits_[1] == 0; }

private:
    std::uint64_t bits_[2] = {0, 0};
};
