#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm/messages.h"
#include "asm_fixture.h"

namespace {

const std::string Syntax = "Syntax error. Expected: ";
const std::string EndOfLine = "Unexpected end of line. Expected: ";
const std::string Extra = "Extra characters on line. Expected: nothing";
const std::string Unknown = "Unknown identifier. Expected: mnemonic, nothing";
const std::string Invalid = "Invalid number.";
const std::string Above255 = "Cannot emit code: Address above 255. Assembly aborted.";
const std::string InUse = "Cannot emit code: Address already in use. Assembly aborted.";

struct Case {
    std::string source;
    std::vector<TReport> reports;
    std::vector<int> bytes = {};  // the image from address 0, when it matters
};

void Check(const Case& c) {
    const TAssembly a = AssembleText(c.source);
    EXPECT_EQ(a.Reports, c.reports) << "source: " << c.source;
    if (!c.bytes.empty()) {
        EXPECT_EQ(Bytes(a, 0, c.bytes.size()), c.bytes) << c.source;
    }
}

TEST(Diagnostics, LineStartAndLabelDefinition) {
    const Case cases[] = {
        {"12", {{0, 0, Syntax + "label, mnemonic"}}},
        {"  R1", {{0, 2, Syntax + "label, mnemonic"}}},
        {",halt", {{0, 0, Syntax + "label, mnemonic"}}},
        {"!!", {{0, 0, Syntax + "label, mnemonic"}}},
        {"x: 12", {{0, 3, Unknown}}},
        {"x: y", {{0, 3, Unknown}}},
        {"x", {{0, 1, EndOfLine + "':'"}}},
        {"start", {{0, 5, EndOfLine + "':'"}}},
        {"loop halt", {{0, 5, Syntax + "':'"}}, {0xC0, 0x00}},
        {"x ; no colon", {{0, 2, Syntax + "':'"}}},
        {"x: ; fine", {}},
        {"halt 1", {{0, 5, Extra}}, {0xC0, 0x00}},
        {"halt R1", {{0, 5, Extra}}},
        {"halt;c", {}, {0xC0, 0x00}},
        {"move R1,R2 x", {{0, 11, Extra}}, {0x40, 0x21}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, RegisterOperands) {
    const Case cases[] = {
        {"move R1", {{0, 7, EndOfLine + "','"}, {0, 7, EndOfLine + "register"}}, {0x40}},
        {"move R1 R2", {{0, 8, Syntax + "','"}}, {0x40, 0x21}},
        {"move 1,R2", {{0, 5, Syntax + "register"}}, {0x40, 0x00}},
        {"addi R1,R2", {{0, 10, EndOfLine + "','"}, {0, 10, EndOfLine + "register"}}, {0x51, 0}},
        {"addi R1 R2 R3", {{0, 8, Syntax + "','"}, {0, 11, Syntax + "','"}}, {0x51, 0x23}},
        {"xor x,R2,R3", {{0, 4, Syntax + "register"}}, {0}},
        {"ror R1,16", {{0, 9, "Number larger than 15"}}, {0xA1, 0}},
        {"ror R1,-1", {{0, 9, "Number smaller than 0"}}, {0xA1, 0}},
        {"ror R1,x", {{0, 7, Syntax + "number"}}},
        {"ror R1,1e3", {{0, 10, Invalid}}, {0xA1, 0}},
        {"move R1,R2 ; ok", {}, {0x40, 0x21}},
        {"move R1 ; no", {{0, 8, Syntax + "','"}, {0, 8, Syntax + "register"}}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, Jumps) {
    const Case cases[] = {
        {"jmp R1", {{0, 4, "Bad address. Expected: number, label"}}, {0xB0, 0}},
        {"jmp", {{0, 3, EndOfLine + "number, label"}}, {0xB0, 0}},
        {"jmp 256", {{0, 7, "Number larger than 255"}}},
        {"jmp -1", {{0, 6, "Number smaller than 0"}}},
        {"jmpEQ R1,R0,5", {{0, 8, Syntax + "'='"}, {0, 8, Syntax + "'R0'"}}, {0xB1, 0}},
        {"jmpLE R1<=R2,5", {{0, 10, Syntax + "'R0'"}}},
        {"jmpLE R1<R0,5", {{0, 8, Syntax + "'<='"}}, {0xF1, 5}},
        {"jmpEQ R1 R0,5", {{0, 9, Syntax + "'='"}, {0, 11, Syntax + "'R0'"}}},
        {"jmpEQ R1", {{0, 8, EndOfLine + "'='"}, {0, 8, EndOfLine + "'R0'"}}},
        {"jmpEQ R1=", {{0, 9, EndOfLine + "'R0'"}}},
        {"jmpEQ R1=R0", {{0, 11, EndOfLine + "','"}, {0, 11, EndOfLine + "number, label"}}},
        {"jmpEQ R1=R0 7", {{0, 12, Syntax + "','"}}, {0xB1, 7}},
        {"jmpLE 5", {{0, 6, Syntax + "register"}}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, LoadAndStore) {
    const Case cases[] = {
        {"load R1", {{0, 7, EndOfLine + "','"}, {0, 7, EndOfLine + "number, label, '['"}}},
        {"store R1", {{0, 8, EndOfLine + "','"}, {0, 8, EndOfLine + "'['"}}},
        {"load R1,", {{0, 8, EndOfLine + "number, label, '['"}}},
        {"load R1,[R2", {{0, 11, EndOfLine + "']'"}}, {0xD0, 0x12}},
        {"load R1,R2", {{0, 8, Syntax + "'['"}, {0, 10, EndOfLine + "']'"}}, {0xD0, 0x12}},
        {"load R1,[300]", {{0, 12, "Number larger than 255"}}, {0x11, 0}},
        {"load R1,[-1]", {{0, 11, "Number smaller than 0"}}, {0x11, 0}},
        {"load R1,256", {{0, 11, "Number larger than 255"}}, {0x21, 0}},
        {"load R1,-129", {{0, 12, "Number smaller than -128"}}, {0x21, 0}},
        {"load R1,99999999999", {{0, 19, Invalid}}, {0x21, 0}},
        {"load R1,[12A3]", {{0, 13, Invalid}}, {0x11, 0}},
        {"store R1,5", {{0, 9, "Cannot store to immediate. Expected: '['"}}, {0}},
        {"store R1,x", {{0, 9, "Cannot store to immediate. Expected: '['"}}},
        {"store R1,[5", {{0, 11, EndOfLine + "']'"}}, {0x31, 5}},
        {"load R1,[,]", {{0, 9, Syntax + "number, label, register"}}, {0}},
        {"load R1,[]", {{0, 9, Syntax + "number, label, register"}}},
        {"load 5,R1", {{0, 5, Syntax + "register"}}},
        {"load R1 [R2]", {{0, 8, Syntax + "','"}}, {0xD0, 0x12}},
        {"load R1,[R2] ; c", {}, {0xD0, 0x12}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, OrgAndDb) {
    const Case cases[] = {
        {"org 256\ndb 1", {{0, 7, "Number larger than 255"}}, {1}},
        {"org -1", {{0, 6, "Number smaller than 0"}}},
        {"org x", {{0, 4, Syntax + "number"}}},
        {"org", {{0, 3, EndOfLine + "number"}}},
        {"db 256", {{0, 6, "Number larger than 255"}}},
        {"db -129", {{0, 7, "Number smaller than -128"}}},
        {"db \"\"", {}, {0}},
        {"db", {{0, 2, EndOfLine + "number, string"}}},
        {"db 1,", {{0, 5, EndOfLine + "number, string"}}, {1}},
        {"db 1,R1", {{0, 5, "Not an immediate. Expected: number, string"}}, {1}},
        {"db 1 2", {{0, 5, Syntax + "','"}}, {1, 2}},
        {"db 1,,2", {{0, 5, "Not an immediate. Expected: number, string"}}, {1, 2}},
        {"db \"abc", {{0, 7, "Unexpected end of string. Expected: \""}}, {0}},
        {"db 'abc", {{0, 7, "Unexpected end of string. Expected: '"}}},
        {"db 1,'", {{0, 5, "Error in string."}}, {1, 0}},
        {"db '", {{0, 3, "Error in string."}}},
        {"db 300,1,-200,2",
         {{0, 6, "Number larger than 255"}, {0, 13, "Number smaller than -128"}},
         {1, 2}},
        {"db 1 ; c", {}, {1}},
        {"db ; c", {{0, 3, "Not an immediate. Expected: number, string"}}},
        {"db 1,2 x",
         {{0, 7, Syntax + "','"}, {0, 7, "Not an immediate. Expected: number, string"}},
         {1, 2, 0}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, Labels) {
    const Case cases[] = {
        {"\n\na: halt\n\n\n\n\na: db 1",
         {{7, 1, "Label is already defined at line 3."}},
         {0xC0, 0x00, 0x01}},
        {"a:\na: x", {{1, 1, "Label is already defined at line 1."}, {1, 3, Unknown}}},
        {"x\nx",
         {{0, 1, EndOfLine + "':'"},
          {1, 1, "Label is already defined at line 1."},
          {1, 1, EndOfLine + "':'"}}},
        {"\n\njmp gone ; first use\nhalt\nhalt\nhalt\nload R1,[gone]",
         {{2, 8, "Label is not defined: gone"}}},
        {"jmp b\njmp a\njmp b\n12",
         {{3, 0, Syntax + "label, mnemonic"},
          {0, 5, "Label is not defined: b"},
          {1, 5, "Label is not defined: a"}}},
        {"jmp Here\nhere: halt", {{0, 8, "Label is not defined: Here"}}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, FixUpsAndRedefinitions) {
    const Case cases[] = {
        // pending uses are placed oldest first; the first one that cannot be placed stops it
        {"jmp x\njmp x\norg 3\ndb 1\nx: halt\n12", {{4, 1, InUse}}, {0xB0, 4, 0xB0, 1}},
        // a definition that filled in earlier uses is the one a redefinition names
        {"jmp a\n\na: halt\na: halt", {{3, 1, "Label is already defined at line 3."}}},
        // a defined label used where no byte can go
        {"x: halt\norg 255\njmp x\n12", {{2, 0, Above255}}},
        {"x: halt\norg 1\nload R1,[x]", {{2, 0, InUse}}},
        // a use still pending at the end is reported after the line's own reports
        {"load R1,[x", {{0, 10, EndOfLine + "']'"}, {0, 10, "Label is not defined: x"}}, {0x11, 0}},
        // labels first seen as definitions count in the order too
        {"jmp b\nc: halt\njmp a",
         {{0, 5, "Label is not defined: b"}, {2, 5, "Label is not defined: a"}}},
    };
    for (const Case& c : cases) Check(c);
    // labels take the location counter that org set
    const TAssembly a = AssembleText("org 10h\nx: jmp x\nstore R2,[y]\ny:");
    EXPECT_TRUE(a.Reports.empty());
    EXPECT_EQ(Bytes(a, 0x10, 4), (std::vector<int>{0xB0, 0x10, 0x32, 0x14}));
}

TEST(Diagnostics, OddCornersOfTheLine) {
    const Case cases[] = {
        {"x::", {{0, 2, Unknown}}},
        {"a: b: halt", {{0, 3, Unknown}}},
        {"halt,", {{0, 4, Extra}}, {0xC0, 0}},
        {"move R1,R2!", {{0, 10, Extra}}, {0x40, 0x21}},
        {"jmpEQ R1<R0,5", {{0, 8, Syntax + "'='"}}, {0xB1, 5}},
        {"jmpLE R1=R0,5", {{0, 8, Syntax + "'<='"}, {0, 8, Syntax + "'R0'"}}, {0xF1, 0}},
        {"jmp 99999999999", {{0, 15, Invalid}}, {0xB0, 0}},
        {"org 1e3\ndb 1", {{0, 7, Invalid}}, {1}},
        {"db 1e3,2", {{0, 6, Invalid}}, {2}},
        {"db 'a' 'b'", {{0, 7, Syntax + "','"}}, {'a', 'b'}},
        {"db 1,\"ab", {{0, 8, "Unexpected end of string. Expected: \""}}, {1, 0}},
        {"db \"'", {{0, 5, "Unexpected end of string. Expected: \""}}, {0}},
        {"\tdb\t'", {{0, 4, "Error in string."}}, {0}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, FailedEmissionStopsTheAssembly) {
    std::string full;
    for (int i = 0; i < 128; ++i) full += "move R1,R2\n";
    const Case cases[] = {
        {full + "halt\n12\njmp nowhere", {{128, 0, Above255}}},
        {full + "db 5", {{128, 0, Above255}}},
        {full + "done: jmp done", {{128, 0, Above255}}},
        {"org 255\nload R1,[R2]\n12", {{1, 0, Above255}}},
        {"org 255\nload R1,x\n12", {{1, 0, Above255}}},
        {"org 255\njmp x\nx: halt", {{1, 0, Above255}}},
        {"halt\norg 1\nhalt\njmp x", {{2, 0, InUse}}, {0xC0, 0x00}},
        {"org 1\ndb 1\norg 0\nhalt\n12", {{3, 0, InUse}}, {0xC0, 1}},
        // a pending use is filled in where other code was placed meanwhile
        {"jmp x\norg 1\ndb 7\n\nx: halt\n12", {{4, 1, InUse}}, {0xB0, 7}},
        {"db 1,2,3\norg 1\ndb \"ab\"", {{2, 0, InUse}}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, ReportsOfOneLineComeInRuleOrderAfterLineTooLong) {
    const std::string pad(995, ' ');
    const Case cases[] = {
        {"move R1" + pad,
         {{0, 998, "Line too long."},
          {0, 1002, EndOfLine + "','"},
          {0, 1002, EndOfLine + "register"}}},
        {std::string(999, ';'), {}},
        {std::string(1000, ';'), {{0, 998, "Line too long."}}},
        {"halt ;" + std::string(2000, 'x'), {{0, 998, "Line too long."}}, {0xC0, 0}},
    };
    for (const Case& c : cases) Check(c);
}

TEST(Diagnostics, ExpectedListsFollowTheNameOrder) {
    using AsmMessages::ExpectedList;
    const struct {
        TKindSet kinds;
        const char* list;
    } cases[] = {
        {{twMnemonic, twLabel}, "label, mnemonic"},
        {{twLabel, twNumber}, "number, label"},
        {{twRegister, twNumber, twLabel}, "number, label, register"},
        {{twColon}, "':'"},
        {{twLessEqual}, "'<='"},
        {{twSpace, twComment, twRBracket, twLBracket, twEqual, twLessEqual, twColon, twComma,
          twRegister, twMnemonic, twLabel, twString, twNumber},
         "number, string, label, mnemonic, register, ',', ':', '<=', '=', '[', ']', comment, "
         "space"},
        {{twOther, twComma}, "',', other"},
        {{twLess}, "other"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpectedList(c.kinds), c.list);
}

}  // namespace
