#include "grading/testfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "core/fileerror.h"

namespace {

// The mistakes of a refused text as "LINE:COLUMN: MESSAGE", or "accepted".
std::vector<std::string> Mistakes(const std::string& text) {
    try {
        ParseTestFile(text, "t.toml");
    } catch (const ETestFileError& e) {
        std::vector<std::string> lines;
        for (const auto& m : e.Mistakes())
            lines.push_back(std::to_string(m.Line) + ":" + std::to_string(m.Column) + ": " +
                            m.Message);
        return lines;
    }
    return {"accepted"};
}

constexpr const char* Expect = "\n[test.expect]\nstatus = \"halted\"\n";

TEST(TestFile, EveryKeyIsRead) {
    const TTestFile file = ParseTestFile(R"(program = "sum.asm"
max-steps = 1000
[[test]]
name = "5 + 10"
description = "adds"
hidden = true
points = 2
pc = 0x10
max-steps = 500
registers = { R1 = 0x05, r2 = 10, RF = 255 }
memory = { 80 = [3, 1, 2, 3], 9a = 0, FE = [7, 8, 9] }
[test.expect]
status = "halted"
output = "Hi\n├"
registers = { R3 = 0x0F, rc = 1 }
memory = { 90 = [6], ff = [1, 2] }
pc = 0x04
[[test]]
name = "defaults"
expect.status = "invalid"
[[test]]
name = "inline"
expect = { status = "limit" }
)",
                                         "dir/sum.tests.toml");
    ASSERT_EQ(file.Tests.size(), 3u);
    EXPECT_EQ(file.Program, "sum.asm");
    EXPECT_EQ(ProgramPath(file), "dir/sum.asm");
    const TTestCase& t = file.Tests[0];
    EXPECT_EQ(t.Name, "5 + 10");
    EXPECT_EQ(t.Line, 3);
    EXPECT_EQ(t.Description, "adds");
    EXPECT_TRUE(t.Hidden);
    EXPECT_EQ(t.Points, 2);
    EXPECT_EQ(t.Pc, 0x10);
    EXPECT_EQ(t.MaxSteps, 500);
    EXPECT_EQ(t.Registers, (TByteMap{{1, 5}, {2, 10}, {15, 255}}));
    // A list runs on from its address and wraps from FF to 00.
    EXPECT_EQ(t.Memory, (TByteMap{{0x80, 3},
                                  {0x81, 1},
                                  {0x82, 2},
                                  {0x83, 3},
                                  {0x9A, 0},
                                  {0xFE, 7},
                                  {0xFF, 8},
                                  {0x00, 9}}));
    EXPECT_EQ(t.Expect.Status, TStepResult::Halted);
    EXPECT_EQ(t.Expect.Output, std::string("Hi\n\xC3", 4));  // U+251C is code 195
    EXPECT_EQ(t.Expect.Registers, (TByteMap{{3, 15}, {12, 1}}));
    EXPECT_EQ(t.Expect.Memory, (TByteMap{{0x90, 6}, {0xFF, 1}, {0x00, 2}}));
    EXPECT_EQ(t.Expect.Pc, 4);
    // Defaults, and the file's step limit for a test that sets none.
    const TTestCase& d = file.Tests[1];
    EXPECT_EQ(d.Points, 1);
    EXPECT_EQ(d.Pc, 0);
    EXPECT_EQ(d.MaxSteps, 1000);
    EXPECT_EQ(d.Description, "");
    EXPECT_FALSE(d.Hidden);
    EXPECT_EQ(d.Fill, TTestFill::Zero);
    EXPECT_TRUE(d.Registers.empty() && d.Memory.empty());
    EXPECT_EQ(d.Expect.Status, TStepResult::Invalid);
    EXPECT_EQ(file.Tests[2].Expect.Status, TStepResult::Executed);
}

TEST(TestFile, DefaultsWithoutFileKeys) {
    const TTestFile file = ParseTestFile(std::string("[[test]]\nname = \"a\"") + Expect, "a.toml");
    EXPECT_FALSE(file.Program);
    EXPECT_FALSE(ProgramPath(file));
    EXPECT_EQ(file.Tests.at(0).MaxSteps, DefaultTestMaxSteps);
    EXPECT_FALSE(file.WarningsFail);
    for (const char* value : {"allow", "fail"})
        EXPECT_EQ(ParseTestFile(
                      std::string("warnings = \"") + value + "\"\n[[test]]\nname = \"a\"" + Expect,
                      "a.toml")
                      .WarningsFail,
                  std::string(value) == "fail");
    const TTestFile absolute = ParseTestFile(
        std::string("program = \"/p/x.asm\"\n[[test]]\nname = \"a\"") + Expect, "d/a.toml");
    EXPECT_EQ(ProgramPath(absolute), "/p/x.asm");
}

TEST(TestFile, FillAndSeedFromTheTestTheFileOrTheName) {
    const struct {
        std::string fileKeys, testKeys;
        TTestFill fill;
        std::uint64_t seed;
    } cases[] = {
        // Without a seed, FNV-1a of the name "a", so every run starts alike.
        {"", "", TTestFill::Zero, 0xAF63DC4C8601EC8Cu},
        {"fill = \"random\"\n", "", TTestFill::Random, 0xAF63DC4C8601EC8Cu},
        {"fill = \"random\"\nseed = 5\n", "", TTestFill::Random, 5},
        {"fill = \"random\"\nseed = 5\n", "fill = \"zero\"\nseed = 9\n", TTestFill::Zero, 9},
        {"seed = 5\n", "fill = \"random\"\n", TTestFill::Random, 5},
    };
    for (const auto& c : cases) {
        const TTestCase t =
            ParseTestFile(c.fileKeys + "[[test]]\nname = \"a\"\n" + c.testKeys + Expect, "f.toml")
                .Tests.at(0);
        EXPECT_EQ(t.Fill, c.fill) << c.fileKeys << c.testKeys;
        EXPECT_EQ(t.Seed, c.seed) << c.fileKeys << c.testKeys;
    }
}

TEST(TestFile, KeepOnlyTheNamedTests) {
    std::string text;
    for (const char* name : {"a", "b", "c"})
        text += std::string("[[test]]\nname = \"") + name + "\"" + Expect;
    TTestFile file = ParseTestFile(text, "k.toml");
    EXPECT_EQ(KeepOnlyTests(file, {}), std::nullopt);
    EXPECT_EQ(KeepOnlyTests(file, {"c", "x", "y"}), "x");
    EXPECT_EQ(file.Tests.size(), 3u);  // unchanged
    EXPECT_EQ(KeepOnlyTests(file, {"c", "a"}), std::nullopt);
    ASSERT_EQ(file.Tests.size(), 2u);
    EXPECT_EQ(file.Tests[0].Name + file.Tests[1].Name, "ac");  // in the file's order
}

TEST(TestFile, EveryMistakeIsRefusedWithItsPosition) {
    struct Case {
        std::string text;
        std::vector<std::string> mistakes;
    };
    const std::string t = "[[test]]\nname = \"a\"\n";  // a test up to its expectation
    const Case cases[] = {
        {"x = [1,\n", {"1:9: Error while parsing array: encountered end-of-file"}},
        {"name = \"a\"\n",
         {"1:1: unknown key 'name'; a test file takes program, max-steps, fill, seed, warnings, "
          "test",
          "1:1: the file has no test; add one with [[test]]"}},
        {"", {"1:1: the file has no test; add one with [[test]]"}},
        {"test = 3\n", {"1:8: test must be a list of tables ([[test]]), not an integer"}},
        {"test = []\n", {"1:8: the list of tests is empty; add one with [[test]]"}},
        {"test = [1]\n", {"1:9: each test must be a table, not an integer"}},
        {"program = 5\n" + t + Expect, {"1:11: program must be a string, not an integer"}},
        {"program = \"\"\n" + t + Expect, {"1:11: program must not be empty"}},
        {"program = \"sum.asm\\u0000.prg\"\n" + t + Expect,
         {"1:11: program must not hold the character U+0000"}},
        {"max-steps = 0\n" + t + Expect, {"1:13: max-steps must be 1..1000000000, not 0"}},
        {"warnings = \"never\"\n" + t + Expect,
         {"1:12: warnings must be \"allow\" or \"fail\", not \"never\""}},
        {"warnings = true\n" + t + Expect, {"1:12: warnings must be a string, not a boolean"}},
        {t + "expected = { status = \"halted\" }\n",
         {"1:1: test 'a' has no expectation ([test.expect])",
          "3:1: unknown key 'expected'; a test takes name, description, hidden, points, pc, "
          "max-steps, fill, seed, registers, memory, expect"}},
        {t + "[test.expect]\nstatus = \"halted\"\nouput = \"x\"\n",
         {"5:1: unknown key 'ouput'; expect takes status, output, registers, memory, pc"}},
        {"[[test]]\npoints = 1" + std::string(Expect), {"1:1: test has no name"}},
        {"[[test]]\nname = 1" + std::string(Expect),
         {"2:8: name must be a string, not an integer"}},
        {"[[test]]\nname = \"\"" + std::string(Expect), {"2:8: name must not be empty"}},
        {t + Expect + t + Expect, {"7:8: a test named 'a' is already at line 1"}},
        {t + "points = -1" + Expect, {"3:10: points must be 0..1000000, not -1"}},
        {t + "description = 1" + Expect, {"3:15: description must be a string, not an integer"}},
        {t + "hidden = \"yes\"" + Expect, {"3:10: hidden must be true or false, not a string"}},
        {t + "fill = \"noise\"" + Expect,
         {"3:8: fill must be \"zero\" or \"random\", not \"noise\""}},
        {"fill = 0\n" + t + Expect, {"1:8: fill must be a string, not an integer"}},
        {t + "seed = -1" + Expect, {"3:8: seed must be 0..9223372036854775807, not -1"}},
        {t + "points = 1.5" + Expect,
         {"3:10: points must be an integer 0..1000000, not a floating-point number"}},
        {t + "pc = 256" + Expect, {"3:6: pc must be 0..255, not 256"}},
        {t + "pc = true" + Expect, {"3:6: pc must be an integer 0..255, not a boolean"}},
        {t + "max-steps = 1000000001" + Expect,
         {"3:13: max-steps must be 1..1000000000, not 1000000001"}},
        {t + "registers = 1" + Expect, {"3:13: registers must be a table, not an integer"}},
        {t + "registers = { R16 = 1, X1 = 2 }" + Expect,
         {"3:15: unknown register 'R16'; the registers are R0..RF",
          "3:24: unknown register 'X1'; the registers are R0..RF"}},
        {t + "registers = { R1 = 1, r1 = 2 }" + Expect, {"3:23: register R1 is given twice"}},
        {t + "registers = { RA = 256 }" + Expect, {"3:20: RA must be 0..255, not 256"}},
        {t + "registers = { RA = [1] }" + Expect,
         {"3:20: RA must be an integer 0..255, not a list"}},
        {t + "memory = { 8G = 1, 123 = 2, 5 = 3 }" + Expect,
         {"3:12: memory address '8G' is not two hex digits",
          "3:20: memory address '123' is not two hex digits",
          "3:29: memory address '5' is not two hex digits"}},
        {t + "memory = { 80 = \"x\" }" + Expect,
         {"3:17: memory 80 must be a byte 0..255 or a list of bytes, not a string"}},
        {t + "memory = { 80 = [] }" + Expect, {"3:17: memory 80 must list 1..256 bytes, not 0"}},
        {t + "memory = { 80 = [1, 256] }" + Expect, {"3:21: memory 81 must be 0..255, not 256"}},
        {t + "memory = { 80 = -1 }" + Expect, {"3:17: memory 80 must be 0..255, not -1"}},
        {t + "memory = { 80 = [1, 2], 81 = 3 }" + Expect,
         {"3:25: the bytes from 81 overlap those from 80 at 81"}},
        {t + "[test.expect]\nstatus = \"done\"\n",
         {"4:10: status must be \"halted\", \"invalid\" or \"limit\", not \"done\""}},
        {t + "[test.expect]\nstatus = 1\n", {"4:10: status must be a string, not an integer"}},
        {t + "[test.expect]\noutput = \"€\"\n",
         {"4:10: output holds a character that code page 437 lacks"}},
        {t + "[test.expect]\noutput = \"a\\u0000\"\n",
         {"4:10: output cannot hold code 0, which a program never outputs"}},
        {t + "[test.expect]\noutput = 1\n", {"4:10: output must be a string, not an integer"}},
        {t + "[test.expect]\npc = 300\n", {"4:6: expect.pc must be 0..255, not 300"}},
        {t + "[test.expect]\nregisters = { R0 = -5 }\n", {"4:20: R0 must be 0..255, not -5"}},
        {t + "[test.expect]\nmemory = { ZZ = 1 }\n",
         {"4:12: memory address 'ZZ' is not two hex digits"}},
        {t + "[test.expect]\nmemory = { FF = [1, 2], 00 = 5 }\n",
         {"4:12: the bytes from FF overlap those from 00 at 00"}},
        {t + "expect = 3\n", {"3:10: expect must be a table, not an integer"}},
        {t + "expect = {}\n", {"3:10: test 'a' has no expectation in its expect table"}},
        {t + "[test.expect]\nregisters = {}\n",
         {"3:1: test 'a' has no expectation in its expect table"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Mistakes(c.text), c.mistakes) << c.text;
}

TEST(TestFile, RefusalNamesTheFileAndEveryMistake) {
    try {
        ParseTestFile("[[test]]\nname = 1\npc = -1\n", "x/s.tests.toml");
        FAIL() << "accepted";
    } catch (const ETestFileError& e) {
        EXPECT_EQ(e.Path(), "x/s.tests.toml");
        EXPECT_STREQ(e.what(), "x/s.tests.toml:1:1: test has no expectation ([test.expect])");
        EXPECT_EQ(e.Lines(), (std::vector<std::string>{
                                 "x/s.tests.toml:1:1: test has no expectation ([test.expect])",
                                 "x/s.tests.toml:2:8: name must be a string, not an integer",
                                 "x/s.tests.toml:3:6: pc must be 0..255, not -1"}));
    }
}

// A file full of mistakes lists the first ones in the text and counts the rest.
TEST(TestFile, MistakesAreListedUpToAHundred) {
    for (const int count : {100, 101, 5000}) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "[[test]]\nname = " + std::to_string(i) + "\n";
        try {
            ParseTestFile(text, "m.toml");
            FAIL() << "accepted";
        } catch (const ETestFileError& e) {
            // Two mistakes a test: no expectation, and a name that is not a string.
            const long long found = 2LL * count;
            const std::vector<std::string> lines = e.Lines();
            ASSERT_EQ(e.Mistakes().size(), 100u) << count;
            EXPECT_EQ(e.Mistakes().back().Line, 100) << count;  // the 50th test's name
            EXPECT_EQ(lines.back(), "\u2026 and " + std::to_string(found - 100) + " more mistakes")
                << count;
            EXPECT_EQ(lines.size(), 101u) << count;
        }
    }
}

// Inputs that once reached undefined behaviour or a failed assertion in the TOML library:
// non-ASCII characters where TOML allows none or where the parser asks whether they are
// whitespace (after a line-ending backslash), a table name starting with a control
// character. The sanitizers see the library now, as it is compiled with this program.
TEST(TestFile, InputsThatBrokeTheTomlLibrary) {
    const struct {
        const char* name;
        std::string text;
        std::string first;  // the first mistake, or the test's name when accepted
    } cases[] = {
        {"accented letter after a value", "a=1 \u00e9", "1:5: "},
        {"U+FEBF alone", "\xEF\xBA\xBF", "1:1: "},
        {"ideographic space", "a=1\u3000", "1:4: "},
        {"no-break space", "a=1\u00a0", "1:4: "},
        {"control character in a table name", "[\x01]", "1:2: "},
        {"accent in a table name", "[[ \u00a7~= \"\"\"\\", "1:4: "},
        {"after a line-ending backslash",
         "[[test]]\nname = \"\"\"\\\n  \u00a7\u00e9\"\"\"" + std::string(Expect), "\u00a7\u00e9"},
    };
    for (const auto& c : cases) {
        try {
            EXPECT_EQ(ParseTestFile(c.text, "t.toml").Tests.at(0).Name, c.first) << c.name;
        } catch (const ETestFileError& e) {
            EXPECT_EQ(Mistakes(c.text).at(0).substr(0, c.first.size()), c.first) << c.name;
        }
    }
}

TEST(TestFile, ReadingAFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quarzel_testfile_read";
    fs::create_directories(dir);
    const std::string path = (dir / "a.tests.toml").string();
    std::ofstream(path) << "[[test]]\nname = \"a\"" << Expect;
    EXPECT_EQ(ReadTestFile(path).Tests.at(0).Name, "a");
    EXPECT_THROW(ReadTestFile((dir / "missing.toml").string()), EFileError);
    EXPECT_THROW(ReadTestFile(dir.string()), EFileError);
    std::ofstream(path, std::ios::binary) << std::string((16u << 20) + 1, ' ');
    EXPECT_THROW(ReadTestFile(path), EFileError);
    // Refused by name at once: a pipe without a writer would wait for ever, a device never end.
    const std::string fifo = (dir / "fifo.toml").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    for (const std::string& special : {fifo, std::string("/dev/zero")}) {
        try {
            ReadTestFile(special);
            ADD_FAILURE() << special << " was read";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find(", not a regular file."), std::string::npos)
                << e.what();
        }
    }
    fs::remove_all(dir);
}

}  // namespace
