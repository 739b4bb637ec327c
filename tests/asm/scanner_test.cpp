#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/asmparse.h"

namespace {

struct TTok {
    TTokenWhat Kind;
    int Start, End, Value;
    bool operator==(const TTok&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TTok& t) {
    return os << "{" << int(t.Kind) << ", " << t.Start << ", " << t.End << ", " << t.Value << "}";
}

std::vector<TTok> Scan(const std::string& line) {
    TMemoryTextSource none;
    TAsmParser parser(none);
    parser.SetLine(line);
    parser.Tokenize();
    std::vector<TTok> out;
    for (const Token& t : parser.Tokens()) out.push_back({t.Kind, t.StartCol, t.EndCol, t.Value});
    return out;
}

// The single token a line scans to.
Token Only(TAsmParser& parser, const std::string& line) {
    parser.SetLine(line);
    parser.Tokenize();
    EXPECT_EQ(parser.Tokens().size(), 1u) << line;
    return parser.Tokens().empty() ? Token{} : parser.Tokens()[0];
}

TEST(Scanner, SplitsLinesIntoTokens) {
    struct Case {
        std::string line;
        std::vector<TTok> tokens;
    };
    const Case cases[] = {
        {"", {}},
        {" \t \t", {{twSpace, 0, 4, 0}}},
        {"load R1,[data] ; x",
         {{twMnemonic, 0, 4, 0xFD},
          {twSpace, 4, 5, 0},
          {twRegister, 5, 7, 1},
          {twComma, 7, 8, 0},
          {twLBracket, 8, 9, 0},
          {twLabel, 9, 13, 0},
          {twRBracket, 13, 14, 0},
          {twSpace, 14, 15, 0},
          {twComment, 15, 18, 0}}},
        {"x:=", {{twLabel, 0, 1, 0}, {twColon, 1, 2, 0}, {twEqual, 2, 3, 0}}},
        {"R1<R0", {{twRegister, 0, 2, 1}, {twLess, 2, 3, 0}, {twRegister, 3, 5, 0}}},
        {"R1<=R0", {{twRegister, 0, 2, 1}, {twLessEqual, 2, 4, 0}, {twRegister, 4, 6, 0}}},
        {"<", {{twLess, 0, 1, 0}}},
        {"1+1", {{twNumber, 0, 1, 1}, {twOther, 1, 2, 0}, {twNumber, 2, 3, 1}}},
        {"5-3", {{twNumber, 0, 1, 5}, {twNumber, 1, 3, -3}}},
        {"'it''s'", {{twString, 0, 4, 1}, {twString, 4, 7, 1}}},
        {"\"a'b;c\"", {{twString, 0, 7, 1}}},
        {"'abc", {{twString, 0, 4, 0}}},
        {"db '", {{twMnemonic, 0, 2, 0xFF}, {twSpace, 2, 3, 0}, {twString, 3, 4, 0}}},
        {";a 'b' c", {{twComment, 0, 8, 0}}},
        {"#_~9", {{twLabel, 0, 4, 0}}},
        {"+*!>", {{twOther, 0, 4, 0}}},
        {"@@x", {{twOther, 0, 2, 0}, {twLabel, 2, 3, 0}}},
        {std::string("a\0b", 3), {{twLabel, 0, 1, 0}, {twOther, 1, 2, 0}, {twLabel, 2, 3, 0}}},
        {"\xC7\xFFR2", {{twOther, 0, 2, 0}, {twRegister, 2, 4, 2}}},
        {"a9b", {{twLabel, 0, 3, 0}}},
        {"9ab", {{twNumber, 0, 3, 0}}},  // one malformed number, not a number and a word
        {"0ABhx", {{twNumber, 0, 4, 171}, {twLabel, 4, 5, 0}}},
        {"$-5", {{twNumber, 0, 1, 0}, {twNumber, 1, 3, -5}}},
    };
    for (const Case& c : cases) EXPECT_EQ(Scan(c.line), c.tokens) << "line: " << c.line;
}

TEST(Scanner, ClassifiesWords) {
    struct Case {
        const char* word;
        TTokenWhat kind;
        int value;
    };
    const Case cases[] = {
        {"load", twMnemonic, 0xFD},  {"LOAD", twMnemonic, 0xFD},  {"lOaD", twMnemonic, 0xFD},
        {"loads", twLabel, 0},       {"lo", twLabel, 0},          {"move", twMnemonic, 0x04},
        {"addi", twMnemonic, 0x05},  {"addf", twMnemonic, 0x06},  {"or", twMnemonic, 0x07},
        {"and", twMnemonic, 0x08},   {"xor", twMnemonic, 0x09},   {"ror", twMnemonic, 0x0A},
        {"jmpeq", twMnemonic, 0x0B}, {"HALT", twMnemonic, 0x0C},  {"JmPlE", twMnemonic, 0x0F},
        {"jmp", twMnemonic, 0xFB},   {"store", twMnemonic, 0xFC}, {"ORG", twMnemonic, 0xFE},
        {"dB", twMnemonic, 0xFF},    {"R7", twRegister, 7},       {"r7", twRegister, 7},
        {"Rf", twRegister, 15},      {"RA", twRegister, 10},      {"R0", twRegister, 0},
        {"RG", twLabel, 0},          {"R10", twLabel, 0},         {"R", twLabel, 0},
        {"R#", twLabel, 0},          {"vorlak", twLabel, 0x9D},   {"VorLAK", twLabel, 0x9D},
        {"vorlakx", twLabel, 0},     {"vorla", twLabel, 0},       {"Loop", twLabel, 0},
        {"ABh", twLabel, 0},         {"FFh", twLabel, 0},
    };
    TMemoryTextSource none;
    TAsmParser parser(none);
    for (const Case& c : cases) {
        const Token t = Only(parser, c.word);
        EXPECT_EQ(t.Kind, c.kind) << c.word;
        EXPECT_EQ(t.Value, c.value) << c.word;
    }
}

// Words that contain or repeat a keyword, or are longer than any, are labels.
TEST(Scanner, WordsBeyondTheKeywordsAreLabels) {
    TMemoryTextSource none;
    TAsmParser parser(none);
    for (const char* word : {"loadload", "HALTHALTx", "jmpEQjmpLE", "vorlakvorlak", "db_", "~db",
                             "R1R1", "xxxxxxxxxxxxxload"}) {
        const Token t = Only(parser, word);
        EXPECT_EQ(t.Kind, twLabel) << word;
        EXPECT_EQ(t.Value, 0) << word;
    }
}

TEST(Scanner, EvaluatesNumbers) {
    struct Case {
        const char* text;
        bool wellFormed, valid;
        int value;  // checked when valid
    };
    const Case cases[] = {
        {"0ABh", true, true, 171},
        {"$FF", true, true, 255},
        {"0x1F", true, true, 31},
        {"0X1f", true, true, 31},
        {"0x1f", true, true, 31},
        {"1011b", true, true, 11},
        {"12d", true, true, 12},
        {"12h", true, true, 18},
        {"0b", true, true, 0},
        {"-123", true, true, -123},
        {"-12D", true, true, -12},
        {"0x1D", true, true, 29},
        {"$1B", true, true, 27},
        {"0", true, true, 0},
        {"-0", true, true, 0},
        {"2147483647", true, true, 2147483647},
        {"-2147483647", true, true, -2147483647},
        {"7FFFFFFFh", true, true, 2147483647},
        {"99999999999", true, false, 0},
        {"2147483648", true, false, 0},
        {"80000000h", true, false, 0},
        {"-0x10", false, false, 0},
        {"12A3", false, false, 0},
        {"12b", false, false, 0},
        {"1e3", false, false, 0},
        {"9abc", false, false, 0},
        {"$", false, false, 0},
        {"0x", false, false, 0},
        {"-", false, false, 0},
        {"$12h", false, false, 0},
        {"-12h", false, false, 0},
        {"0xh", false, false, 0},
        {"2b", false, false, 0},
        {"99999999999x", false, false, 0},
    };
    TMemoryTextSource none;
    TAsmParser parser(none);
    for (const Case& c : cases) {
        const std::string text = c.text;
        const Token t = Only(parser, text);
        EXPECT_EQ(t.Kind, twNumber) << text;
        EXPECT_EQ(t.WellFormed, c.wellFormed) << text;
        EXPECT_EQ(t.Valid, c.valid) << text;
        if (c.valid) {
            EXPECT_EQ(t.Value, c.value) << text;
        }
    }
}

TEST(Scanner, AssignsClassesAndMergesRuns) {
    using H = THighlightClass;
    struct Run {
        int Start, End;
        H Style;
        bool operator==(const Run&) const = default;
    };
    struct Case {
        std::string line;
        std::vector<Run> runs;
    };
    const Case cases[] = {
        {"load R1, 5 ; c",
         {{0, 4, H::Keyword},
          {4, 9, H::Normal},
          {9, 10, H::Numeric},
          {10, 11, H::Normal},
          {11, 14, H::Comment}}},
        {"12A3 -0x10", {{0, 4, H::Error}, {4, 5, H::Normal}, {5, 10, H::Error}}},
        {"1+1", {{0, 1, H::Numeric}, {1, 2, H::Error}, {2, 3, H::Numeric}}},
        {"99999999999", {{0, 11, H::Numeric}}},
        {"db 'abc", {{0, 2, H::Keyword}, {2, 3, H::Normal}, {3, 7, H::String}}},
        {"'a''b'\"c\"", {{0, 9, H::String}}},
        {"x: vorlak", {{0, 3, H::Normal}, {3, 9, H::HiddenKeyword}}},
        {"a<b", {{0, 1, H::Normal}, {1, 2, H::Error}, {2, 3, H::Normal}}},
        {"!<+", {{0, 3, H::Error}}},
        {"halt halt", {{0, 4, H::Keyword}, {4, 5, H::Normal}, {5, 9, H::Keyword}}},
        {"", {}},
    };
    TMemoryTextSource none;
    TAsmParser parser(none);
    for (const Case& c : cases) {
        parser.SetLine(c.line);
        parser.Tokenize();
        parser.AssignStyles();
        std::vector<Run> runs;
        for (const Token& t : parser.Tokens()) runs.push_back({t.StartCol, t.EndCol, t.Style});
        EXPECT_EQ(runs.size(), c.runs.size()) << c.line;
        for (std::size_t i = 0; i < std::min(runs.size(), c.runs.size()); ++i)
            EXPECT_TRUE(runs[i] == c.runs[i]) << c.line << " run " << i;
    }
}

TEST(Scanner, NextTokenMovesTheColumnAndStopsAtTheEnd) {
    TMemoryTextSource none;
    TAsmParser parser(none);
    parser.SetLine("org 10h");
    int col = 4;
    const auto t = parser.NextToken(col);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->Kind, twNumber);
    EXPECT_EQ(t->Value, 16);
    EXPECT_EQ(col, 7);
    EXPECT_FALSE(parser.NextToken(col).has_value());
    col = 99;
    EXPECT_FALSE(parser.NextToken(col).has_value());
}

TEST(Scanner, ReadsLinesOfTheSourceWithTheirOffsets) {
    TMemoryTextSource source("a:\r\n\n  halt\r\nlast");
    ASSERT_EQ(source.LineCount(), 4);
    TAsmParser parser(source);
    const struct {
        std::string_view text;
        std::int64_t offset;
    } lines[] = {{"a:", 0}, {"", 4}, {"  halt", 5}, {"last", 13}};
    for (int i = 0; i < 4; ++i) {
        parser.ReadLine(i);
        EXPECT_EQ(parser.CurrentLine(), lines[i].text);
        EXPECT_EQ(parser.CurrentLineIndex(), i);
        EXPECT_EQ(parser.CurrentLineOffset(), lines[i].offset);
    }
    parser.SetLine("x");
    EXPECT_EQ(parser.CurrentLineIndex(), -1);
    EXPECT_EQ(parser.CurrentLineOffset(), -1);
}

TEST(TextSource, CountsLinesByTheirTerminators) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\n", {"a"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\n", {"a", "b"}},  // a lone CR ends a line too
        {"a\n\n", {"a", ""}},
        {"\r", {""}},
        {"a\r\r\n\n\r", {"a", "", "", ""}},
        {"a\xE2\x80\xA8"
         "b\x0B\x0C\x85"
         "c",
         {"a\xE2\x80\xA8"
          "b\x0B\x0C\x85"
          "c"}},
    };
    for (const auto& c : cases) {
        TMemoryTextSource source(c.text);
        std::vector<std::string> lines;
        for (int i = 0; i < source.LineCount(); ++i) lines.emplace_back(source.LineText(i));
        EXPECT_EQ(lines, c.lines);
    }
}

// Text whose every CR stands before an LF, and text with one CR alone: last, or before CR LF.
TEST(TextSource, EndsLinesAtCrLfAsAtLf) {
    const struct {
        std::string text;
        std::vector<std::string> lines;
        std::vector<std::int64_t> offsets;
    } cases[] = {
        {"\r\n", {""}, {0}},
        {"\r\na\r\n\r\n", {"", "a", ""}, {0, 2, 5}},
        {"a\nb\r\nc", {"a", "b", "c"}, {0, 2, 5}},
        {"a\r\nb\r", {"a", "b"}, {0, 3}},
        {"a\r\r\nb", {"a", "", "b"}, {0, 2, 4}},
    };
    for (const auto& c : cases) {
        const TMemoryTextSource source(c.text);
        ASSERT_EQ(source.LineCount(), static_cast<int>(c.lines.size())) << c.text;
        for (int i = source.LineCount() - 1; i >= 0; --i) {
            EXPECT_EQ(source.LineText(i), c.lines[static_cast<std::size_t>(i)]) << c.text;
            EXPECT_EQ(source.LineOffset(i), c.offsets[static_cast<std::size_t>(i)]) << c.text;
        }
    }
}

// Lines are found in any order, far from the last one read, with the right offsets.
TEST(TextSource, FindsLinesInAnyOrder) {
    std::string text;
    std::vector<std::int64_t> offsets;
    for (int i = 0; i < 300; ++i) {
        offsets.push_back(static_cast<std::int64_t>(text.size()));
        text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r");
    }
    const TMemoryTextSource source(text);
    ASSERT_EQ(source.LineCount(), 300);
    for (int i : {299, 0, 64, 63, 65, 128, 127, 200, 201, 1, 299}) {
        EXPECT_EQ(source.LineText(i), std::to_string(i));
        EXPECT_EQ(source.LineOffset(i), offsets[static_cast<std::size_t>(i)]);
    }
}

}  // namespace
