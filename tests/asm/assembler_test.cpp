#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asm_fixture.h"

namespace {

TEST(Assembler, EncodesEveryInstructionForm) {
    struct Case {
        const char* source;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        {"move R1,R2", {0x40, 0x21}},
        {"addi R7,R1,R2", {0x57, 0x12}},
        {"addf RF,RE,RD", {0x6F, 0xED}},
        {"or R1,R2,R3", {0x71, 0x23}},
        {"AND R4,R5,R6", {0x84, 0x56}},
        {"xor R0,R0,R0", {0x90, 0x00}},
        {"ror RC,3", {0xAC, 0x03}},
        {"ROR R1,15", {0xA1, 0x0F}},
        {"jmp 42h", {0xB0, 0x42}},
        {"jmpEQ R7=R0,42h", {0xB7, 0x42}},
        {"jmpLE R7<=R0,42h", {0xF7, 0x42}},
        {"load R5,8Ah", {0x25, 0x8A}},
        {"load R1,-128", {0x21, 0x80}},
        {"load R1,-1", {0x21, 0xFF}},
        {"load R4,[8]", {0x14, 0x08}},
        {"load R5,[R2]", {0xD0, 0x52}},
        {"store R4,[R8]", {0xE0, 0x48}},
        {"store RA,[0FFh]", {0x3A, 0xFF}},
        {"halt", {0xC0, 0x00}},
        {"db 1,4,9,16,25,36", {1, 4, 9, 16, 25, 36}},
        {"db -1", {0xFF}},
        {"db -128,255", {0x80, 0xFF}},
        {"db \"Hello world\",0", {'H', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', 0}},
        {"db 'a\"b', \"c'd\"", {'a', '"', 'b', 'c', '\'', 'd'}},
        {"db 'x;y' ; not in the string", {'x', ';', 'y'}},
        {"db \"\xC7\x80\"", {0xC7, 0x80}},
        {"  HaLt  ; comment", {0xC0, 0x00}},
        {"\tmove\tR1 , R2", {0x40, 0x21}},
    };
    for (const Case& c : cases) {
        const TAssembly a = AssembleText(c.source);
        EXPECT_TRUE(a.Reports.empty()) << c.source << ": " << a.Reports.front();
        EXPECT_EQ(Bytes(a, 0, c.bytes.size()), c.bytes) << c.source;
        EXPECT_EQ(a.Image[c.bytes.size()], 0) << c.source;
    }
}

TEST(Assembler, AssemblesTheExampleProgram) {
    const TAssembly a = AssembleText(
        "org 10h\n"
        "start: load R0,0\n"
        "load R1,[data]\n"
        "jmpEQ R1=R0,start\n"
        "halt\n"
        "data: db 5,'A'\n");
    EXPECT_TRUE(a.Reports.empty());
    std::vector<int> expected(256, 0);
    const int program[] = {0x20, 0x00, 0x11, 0x18, 0xB1, 0x10, 0xC0, 0x00, 0x05, 0x41};
    for (int i = 0; i < 10; ++i) expected[0x10 + i] = program[i];
    EXPECT_EQ(a.Image, expected);
}

TEST(Assembler, EmptyOrCommentOnlyTextLeavesAZeroImage) {
    for (const char* text : {"", "\n\n", "; only a comment\r\n   \t\n;another"}) {
        const TAssembly a = AssembleText(text);
        EXPECT_TRUE(a.Reports.empty()) << text;
        EXPECT_EQ(a.Image, std::vector<int>(256, 0)) << text;
    }
}

TEST(Assembler, ResolvesLabelsForwardAndBackward) {
    struct Case {
        const char* source;
        int address;
        std::vector<int> bytes;
    };
    const Case cases[] = {
        // a forward jump is filled in when its label is defined four lines later
        {"jmp end\nhalt\nhalt\nhalt\nend: halt", 0, {0xB0, 0x08}},
        // every use of a label defined later, oldest first, and after its definition
        {"load R1,x\nload R2,[x]\nstore R3,[x]\nx: db 7\njmp x",
         0,
         {0x21, 0x06, 0x12, 0x06, 0x33, 0x06, 0x07, 0xB0, 0x06}},
        {"org 80h\nloop: jmpLE R2<=R0,loop\njmpEQ R1=R0,loop", 0x80, {0xF2, 0x80, 0xB1, 0x80}},
        // case matters in label names
        {"Loop: halt\nloop: jmp Loop\njmp loop", 0, {0xC0, 0x00, 0xB0, 0x00, 0xB0, 0x02}},
        // the hidden keyword is an ordinary label to the assembler
        {"jmp vorlak\nvorlak: halt", 0, {0xB0, 0x02, 0xC0, 0x00}},
        {"x:\nstart:halt\njmp start", 0, {0xC0, 0x00, 0xB0, 0x00}},
    };
    for (const Case& c : cases) {
        const TAssembly a = AssembleText(c.source);
        EXPECT_TRUE(a.Reports.empty()) << c.source << ": " << a.Reports.front();
        EXPECT_EQ(Bytes(a, c.address, c.bytes.size()), c.bytes) << c.source;
    }
}

TEST(Assembler, OrgMovesTheLocationCounter) {
    const TAssembly a = AssembleText("org 60h\nhalt\norg 0\ndb 1\norg 255\ndb 2");
    EXPECT_TRUE(a.Reports.empty());
    EXPECT_EQ(Bytes(a, 0x60, 2), (std::vector<int>{0xC0, 0x00}));
    EXPECT_EQ(a.Image[0], 1);
    EXPECT_EQ(a.Image[255], 2);
}

TEST(Assembler, LabelAfterTheLastAddressHasValueZero) {
    std::string text;
    for (int i = 0; i < 128; ++i) text += "halt\n";
    TMemoryTextSource source(text + "after:\n");
    TAsmParser parser(source);
    int reports = 0;
    parser.Assemble([&](void*, int, int, std::string_view) { ++reports; });
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(parser.LabelValue("after"), 0);
    EXPECT_EQ(parser.MemoryByte(254), 0xC0);
}

TEST(Assembler, MemoryByteOutsideTheImageIsFF) {
    TMemoryTextSource source("db 1");
    TAsmParser parser(source);
    parser.Assemble([](void*, int, int, std::string_view) {});
    for (int address : {-1, 256, 1000, -100000}) EXPECT_EQ(parser.MemoryByte(address), 0xFF);
    EXPECT_EQ(parser.MemoryByte(0), 1);
    EXPECT_EQ(parser.MemoryByte(1), 0);
}

TEST(Assembler, EachRunStartsAfresh) {
    TMemoryTextSource source("jmp later\nlater: db 9");
    TAsmParser parser(source);
    int reports = 0;
    const TErrorSink sink = [&](void*, int, int, std::string_view) { ++reports; };
    parser.Assemble(sink);
    parser.Assemble(sink);  // no "already defined", no "address in use"
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(parser.MemoryByte(1), 2);
    EXPECT_EQ(parser.MemoryByte(2), 9);
    EXPECT_EQ(parser.LabelValue("later"), 2);
    EXPECT_EQ(parser.LabelValue("missing"), std::nullopt);
}

TEST(Assembler, PassesTheContextToTheSink) {
    TMemoryTextSource source("12");
    TAsmParser parser(source);
    int owner = 0;
    void* seen = nullptr;
    parser.Assemble([&](void* context, int, int, std::string_view) { seen = context; }, &owner);
    EXPECT_EQ(seen, &owner);
}

}  // namespace
