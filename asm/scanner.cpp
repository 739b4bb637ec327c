// The scanning half of TAsmParser: one left-to-right pass over a line, one character of
// look-ahead at most.
#include <array>
#include <cstdint>

#include "asm/asmparse.h"

namespace {

// Only ASCII letters fold; every other byte stays as it is.
constexpr char Fold(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// What a byte can be, as bits; one table look-up answers each question of the scanner.
enum : std::uint8_t {
    ccDigit = 1,
    ccWord = 2,    // letters, digits, "#", "_" and "~"
    ccNumber = 4,  // digits, "A".."F", "X" in either case
    ccBlank = 8,
    ccBegins = 16,  // begins a token other than twOther
};

constexpr std::array<std::uint8_t, 256> CharClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const char f = Fold(static_cast<char>(c));
        std::uint8_t bits = 0;
        if (c >= '0' && c <= '9') bits |= ccDigit | ccWord | ccNumber | ccBegins;
        if (f >= 'A' && f <= 'Z') bits |= ccWord | ccBegins;
        if ((f >= 'A' && f <= 'F') || f == 'X') bits |= ccNumber;
        if (c == '#' || c == '_' || c == '~') bits |= ccWord | ccBegins;
        if (c == ' ' || c == '\t') bits |= ccBlank | ccBegins;
        for (const char b : {'-', '$', '\'', '"', ';', '[', ']', ',', ':', '<', '='})
            if (c == b) bits |= ccBegins;
        classes[static_cast<std::size_t>(c)] = bits;
    }
    return classes;
}();

constexpr bool Is(char c, std::uint8_t classes) {
    return (CharClasses[static_cast<unsigned char>(c)] & classes) != 0;
}
constexpr bool IsDigit(char c) {
    return Is(c, ccDigit);
}

// Value of c as a digit of base, or -1.
constexpr int DigitValue(char c, int base) {
    const char f = Fold(c);
    int v = -1;
    if (IsDigit(c))
        v = c - '0';
    else if (f >= 'A' && f <= 'F')
        v = f - 'A' + 10;
    return v < base ? v : -1;
}

// A word of up to 8 characters folded into one number, its first character highest; no
// word character is 0, so two words have the same key exactly when they are equal but for
// case.
constexpr std::size_t MaxKeyLength = 8;
constexpr std::uint64_t KeyOf(std::string_view word) {
    std::uint64_t key = 0;
    for (const char c : word) key = key << 8 | static_cast<unsigned char>(Fold(c));
    return key;
}

struct TKeyword {
    std::uint64_t Key;
    int Code;
};

constexpr TKeyword Keywords[] = {
    {KeyOf("move"), kwMove},   {KeyOf("addi"), kwAddi},   {KeyOf("addf"), kwAddf},
    {KeyOf("OR"), kwOr},       {KeyOf("AND"), kwAnd},     {KeyOf("XOR"), kwXor},
    {KeyOf("ROR"), kwRor},     {KeyOf("jmpEQ"), kwJmpEQ}, {KeyOf("halt"), kwHalt},
    {KeyOf("jmpLE"), kwJmpLE}, {KeyOf("jmp"), kwJmp},     {KeyOf("store"), kwStore},
    {KeyOf("load"), kwLoad},   {KeyOf("org"), kwOrg},     {KeyOf("db"), kwDb},
};

constexpr std::uint64_t HiddenKeyword = KeyOf("vorlak");

// Columns are ints; characters beyond this (a line of a gigabyte) are not looked at. Such a
// line is reported as too long anyway.
constexpr std::size_t MaxLineLength = std::size_t{1} << 30;
constexpr int MaxNumber = 2147483647;

THighlightClass ClassOf(const Token& t) {
    switch (t.Kind) {
        case twOther:
        case twLess:
            return THighlightClass::Error;
        case twMnemonic:
            return THighlightClass::Keyword;
        case twNumber:
            return t.WellFormed ? THighlightClass::Numeric : THighlightClass::Error;
        case twString:
            return THighlightClass::String;
        case twComment:
            return THighlightClass::Comment;
        case twLabel:
            return t.Value == HiddenKeywordValue ? THighlightClass::HiddenKeyword
                                                 : THighlightClass::Normal;
        default:
            return THighlightClass::Normal;
    }
}

}  // namespace

TAsmParser::TAsmParser(const TLineSource& source) : source_(source) {}

void TAsmParser::ReadLine(int i) {
    buffer_.assign(source_.LineText(i).substr(0, MaxLineLength));
    line_ = buffer_;
    lineIndex_ = i;
    lineOffset_ = source_.LineOffset(i);
}

void TAsmParser::SetLine(std::string_view text) {
    line_ = text.substr(0, MaxLineLength);
    lineIndex_ = -1;
    lineOffset_ = -1;
}

void TAsmParser::Tokenize() {
    tokens_.clear();
    for (int col = 0, size = static_cast<int>(line_.size()); col < size;)
        ScanToken(col, tokens_.emplace_back());
}

int TAsmParser::WordEnd(int col) const {
    const int size = static_cast<int>(line_.size());
    while (col < size && Is(line_[col], ccWord)) ++col;
    return col;
}

int TAsmParser::NumberEnd(int col) const {
    const int size = static_cast<int>(line_.size());
    while (col < size && Is(line_[col], ccNumber)) ++col;
    if (col < size && Fold(line_[col]) == 'H') ++col;
    return col;
}

int TAsmParser::OtherEnd(int col) const {
    const int size = static_cast<int>(line_.size());
    while (col < size && !Is(line_[col], ccBegins)) ++col;
    return col;
}

std::optional<Token> TAsmParser::NextToken(int& col) const {
    if (col < 0 || col >= static_cast<int>(line_.size())) return std::nullopt;
    Token t;
    ScanToken(col, t);
    return t;
}

void TAsmParser::ScanToken(int& col, Token& t) const {
    const int size = static_cast<int>(line_.size());
    const char c = line_[col];
    t.StartCol = col;
    if (Is(c, ccWord) && !IsDigit(c)) {
        t.EndCol = WordEnd(col + 1);
        ClassifyWord(t);
    } else if (IsDigit(c) || c == '-' || c == '$') {
        t.Kind = twNumber;
        t.EndCol = NumberEnd(col + 1);
        EvaluateNumber(t);
    } else if (c == '\'' || c == '"') {
        t.Kind = twString;
        const std::size_t close = line_.find(c, static_cast<std::size_t>(col) + 1);
        t.Value = close == std::string_view::npos ? 0 : 1;
        t.EndCol = close == std::string_view::npos ? size : static_cast<int>(close) + 1;
    } else if (c == ';') {
        t.Kind = twComment;
        t.EndCol = size;
    } else if (Is(c, ccBlank)) {
        t.Kind = twSpace;
        t.EndCol = col + 1;
        while (t.EndCol < size && Is(line_[t.EndCol], ccBlank)) ++t.EndCol;
    } else if (c == '[' || c == ']' || c == ',' || c == ':' || c == '=') {
        t.Kind = static_cast<TTokenWhat>(c);
        t.EndCol = col + 1;
    } else if (c == '<') {
        const bool lessEqual = col + 1 < size && line_[col + 1] == '=';
        t.Kind = lessEqual ? twLessEqual : twLess;
        t.EndCol = col + (lessEqual ? 2 : 1);
    } else {
        t.Kind = twOther;
        t.EndCol = OtherEnd(col + 1);
    }
    col = t.EndCol;
}

void TAsmParser::ClassifyWord(Token& token) const {
    const std::string_view word = TokenText(token);
    token.Kind = twLabel;
    token.Value = 0;
    if (word.size() > MaxKeyLength) return;  // no keyword is that long
    const std::uint64_t key = KeyOf(word);
    for (const TKeyword& k : Keywords) {
        if (key == k.Key) {
            token.Kind = twMnemonic;
            token.Value = k.Code;
            return;
        }
    }
    if (key == HiddenKeyword) {
        token.Value = HiddenKeywordValue;
    } else if (word.size() == 2 && Fold(word[0]) == 'R' && DigitValue(word[1], 16) >= 0) {
        token.Kind = twRegister;
        token.Value = DigitValue(word[1], 16);
    }
}

void TAsmParser::EvaluateNumber(Token& token) const {
    const int s = token.StartCol, e = token.EndCol;
    const char first = Fold(line_[s]), last = Fold(line_[e - 1]);
    int i = s, j = e - 1, base = 10;
    if (first == '$') {
        base = 16, i = s + 1;
    } else if (first == '0' && s + 1 < e && Fold(line_[s + 1]) == 'X') {
        base = 16, i = s + 2;
    } else if (last == 'D') {
        j = e - 2;
    } else if (last == 'H') {
        base = 16, j = e - 2;
    } else if (last == 'B') {
        base = 2, j = e - 2;
    }
    const bool negative = base == 10 && line_[i] == '-';
    if (negative) ++i;

    token.Value = 0;
    token.Valid = token.WellFormed = false;
    if (i > j) return;
    std::int64_t value = 0;
    bool overflow = false;
    for (int d; i <= j && (d = DigitValue(line_[i], base)) >= 0; ++i) {
        if (overflow) continue;
        if (value * base + d > MaxNumber)
            overflow = true;
        else
            value = value * base + d;
    }
    token.WellFormed = i > j;
    token.Valid = token.WellFormed && !overflow;
    token.Value = static_cast<int>(negative ? -value : value);
}

void TAsmParser::AssignStyles() {
    std::size_t runs = 0;
    for (Token& t : tokens_) {
        t.Style = ClassOf(t);
        if (runs > 0 && tokens_[runs - 1].Style == t.Style) {
            tokens_[runs - 1].EndCol = t.EndCol;
        } else {
            tokens_[runs++] = t;
        }
    }
    tokens_.resize(runs);
}

std::string_view TAsmParser::TokenText(const Token& token) const {
    return line_.substr(static_cast<std::size_t>(token.StartCol),
                        static_cast<std::size_t>(token.EndCol - token.StartCol));
}
