// The byte-to-line map: each placed byte names the line that placed it, fix-ups included.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "asm/asmparse.h"

namespace {

struct TLineRun {
    int First;  // first address of the run
    int Last;   // last address, inclusive
    int Line;   // expected source line, -1: nothing placed
};

std::vector<int> LinesOf(const std::string& text, int& errors) {
    TMemoryTextSource source(text);
    TAsmParser parser(source);
    errors = 0;
    parser.Assemble([&](void*, int, int, std::string_view) { ++errors; });
    std::vector<int> lines;
    for (int a = 0; a < 256; ++a) lines.push_back(parser.SourceLine(a));
    return lines;
}

void ExpectRuns(const std::vector<int>& lines, const std::vector<TLineRun>& runs) {
    for (const TLineRun& run : runs)
        for (int a = run.First; a <= run.Last; ++a)
            EXPECT_EQ(lines[static_cast<std::size_t>(a)], run.Line) << "address " << a;
}

}  // namespace

TEST(SourceLine, HelloExampleMapsEveryByteToItsLine) {
    std::ifstream file(QUARZEL_EXAMPLES "/hello.asm", std::ios::binary);
    ASSERT_TRUE(file) << "examples/hello.asm";
    std::stringstream text;
    text << file.rdbuf();
    int errors = 0;
    const std::vector<int> lines = LinesOf(text.str(), errors);
    ASSERT_EQ(errors, 0);
    // Address 1 (forward "text") and 9 (forward "done") are filled in by later lines
    // but belong to the lines that used the labels.
    ExpectRuns(lines, {{0, 1, 3},
                       {2, 3, 4},
                       {4, 5, 5},
                       {6, 7, 6},
                       {8, 9, 7},
                       {10, 11, 8},
                       {12, 13, 9},
                       {14, 15, 10},
                       {16, 17, 11},
                       {18, 32, 13},
                       {33, 255, -1}});
}

TEST(SourceLine, OrgGapsLabelsAndFailures) {
    struct TCase {
        const char* Text;
        std::vector<TLineRun> Runs;
    };
    const TCase cases[] = {
        // org leaves a gap that no line owns; a label-only line places nothing.
        {"halt\norg 10\nhere:\ndb 1,2\n", {{0, 1, 0}, {2, 9, -1}, {10, 11, 3}, {12, 12, -1}}},
        // A backward label is placed at once, a forward one by its definition.
        {"a: jmp a\njmp b\nb: halt\n", {{0, 1, 0}, {2, 3, 1}, {4, 5, 2}}},
        // The last address of memory, and an operand out of range that places no byte.
        {"org 255\ndb 7\n", {{254, 254, -1}, {255, 255, 1}}},
        {"load R1,300\nhalt\n", {{0, 0, 0}, {1, 1, 1}, {2, 2, 1}, {3, 3, -1}}},
        // A forward label that is never defined leaves its byte unplaced.
        {"jmp nowhere\n", {{0, 0, 0}, {1, 1, -1}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text);
        int errors = 0;
        ExpectRuns(LinesOf(c.Text, errors), c.Runs);
    }
}

TEST(SourceLine, AddressesOutsideMemoryHaveNoLine) {
    TMemoryTextSource source("db 1,2,3\n");
    TAsmParser parser(source);
    parser.Assemble([](void*, int, int, std::string_view) {});
    for (const int address : {-1, 256, 1000}) EXPECT_EQ(parser.SourceLine(address), -1);
    EXPECT_EQ(parser.SourceLine(2), 0);
}
