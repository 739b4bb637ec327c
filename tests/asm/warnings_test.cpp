#include "asm/warnings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "asm/asmfile.h"
#include "asm/asmparse.h"

namespace {

// Each warning as "LINE:COLUMN: TEXT", counted from 1.
std::vector<std::string> WarningsOf(const std::string& text) {
    TMemoryTextSource source(text);
    TAsmParser parser(source);
    bool failed = false;
    parser.Assemble([&](void*, int, int, std::string_view) { failed = true; });
    EXPECT_FALSE(failed) << text;
    std::vector<std::string> found;
    for (const TAsmWarning& w : AsmWarnings(parser))
        found.push_back(std::to_string(w.Line + 1) + ":" + std::to_string(w.Column + 1) + ": " +
                        w.Text);
    return found;
}

using TLines = std::vector<std::string>;

TEST(AsmWarnings, EachClassicMistakeIsNamedAndItsSoundFormIsNot) {
    const std::string intoData =
        "runs straight into the data at 02 (db on line 2): is a halt or "
        "jmp missing?";
    const std::string neverStops =
        "the program never stops: there is no halt and no jump to itself";
    const struct {
        const char* name;
        const char* source;
        TLines expected;
    } cases[] = {
        {"a data label's address loaded",
         "load R1,count\nhalt\ncount: db 5",
         {"1:9: loads the address of count (04), not its value: did you mean load R1,[count]?"}},
        {"... walked with [R1]", "load R1,t\nload R2,[R1]\nhalt\nt: db 5", {}},
        {"... stored through with [R1]", "load R1,t\nstore R2,[R1]\nhalt\nt: db 5", {}},
        {"a code label's address loaded", "load R1,x\nx: halt", {}},
        {"a data label's value loaded", "load R1,[c]\nhalt\nc: db 5", {}},
        {"running into db", "load R1,1\ndb 5", {"1:1: " + intoData, "1:1: " + neverStops}},
        {"a jump not taken runs into db", "jmpEQ R1=R0,0\ndb 5", {"1:1: " + intoData}},
        {"halt before db", "halt\ndb 5", {}},
        {"jmp before db", "x: jmp x\ndb 5", {}},
        {"jmpLE R0<=R0 always jumps", "x: jmpLE R0<=R0,x\ndb 5", {}},
        {"no halt, no jump to itself", "load R1,1", {"1:1: " + neverStops}},
        {"a conditional jump to itself", "x: jmpEQ R1=R0,x\nhalt", {}},
        {"nothing but data", "db 5", {}},
        {"no text at all", "", {}},
        {"a jump to a data label",
         "halt\njmp d\nd: db 1",
         {"2:5: jumps to d (04), which is data placed by db"}},
        {"a jump to an odd address",
         "jmp 3\nhalt",
         {"1:5: jumps to the odd address 03, where no instruction starts: instructions are "
          "two bytes long"}},
        {"a jump to an odd address holding an instruction", "org 1\njmp 3\nhalt", {}},
        {"a jump to an even address", "jmp 2\nhalt", {}},
        {"a label never used", "halt\n  x:", {"2:3: the label x is never used"}},
        {"a label used before its definition", "jmp x\nx: halt", {}},
        {"in line order",
         "x: load R1,1\nhalt\ny: db 1",
         {"1:1: the label x is never used", "3:1: the label y is never used"}},
    };
    for (const auto& c : cases) EXPECT_EQ(WarningsOf(c.source), c.expected) << c.name;
}

TEST(AsmWarnings, TheExamplesWarnOnlyWhereTheyMeanIt) {
    const std::map<std::string, TLines> expected = {
        // The program runs its own data on purpose: its load is written with db.
        {"selfmod",
         {"5:9: runs straight into the data at 04 (db on line 6): is a halt or jmp missing?",
          "12:13: jumps to fetch (04), which is data placed by db"}},
    };
    for (const char* name :
         {"bits", "double", "hello", "lower", "max", "selfmod", "sum", "swap", "triple", "wrap"}) {
        const auto assembly =
            AssembleFile(std::string(QUARZEL_EXAMPLES) + "/" + name + ".asm",
                         [](int, int, std::string_view message) { ADD_FAILURE() << message; });
        ASSERT_TRUE(assembly) << name;
        TLines found;
        for (const TAsmWarning& w : assembly->Warnings)
            found.push_back(std::to_string(w.Line + 1) + ":" + std::to_string(w.Column + 1) + ": " +
                            w.Text);
        const auto it = expected.find(name);
        EXPECT_EQ(found, it == expected.end() ? TLines{} : it->second) << name;
    }
}

}  // namespace
