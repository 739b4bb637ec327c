#include "grading/testrun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stop_token>
#include <thread>

#include "core/hex.h"
#include "core/machine.h"
#include "grading/submission.h"

namespace {

TMemoryImage Image(std::initializer_list<int> bytes) {
    TMemoryImage image{};
    int a = 0;
    for (int b : bytes) image[a++] = b;
    return image;
}

TTestCase OneTest(const std::string& toml) {
    return ParseTestFile("[[test]]\nname = \"t\"\n" + toml, "t.toml").Tests.at(0);
}

TEST(TestRun, ExpectationsAndTheirFailureTexts) {
    struct Case {
        const char* name;
        TMemoryImage program;
        std::string test;  // the test's keys after its name
        std::vector<std::string> failures;
        long long steps;
    };
    // addi R3,R1,R2; halt
    const TMemoryImage sum = Image({0x53, 0x12, 0xC0, 0x00});
    // load RF,'H'; load RF,0; load RF,'o'; halt
    const TMemoryImage ho = Image({0x2F, 0x48, 0x2F, 0x00, 0x2F, 0x6F, 0xC0, 0x00});
    const Case cases[] = {
        {"all hold",
         sum,
         "registers = { R1 = 5, R2 = 10 }\nexpect = { status = \"halted\", registers = { R3 = "
         "0x0F }, pc = 4 }",
         {},
         2},
        {"register",
         sum,
         "registers = { R1 = 5, R2 = 9 }\nexpect.registers = { R3 = 0x0F }",
         {"R3 is 0E, expected 0F"},
         2},
        {"decimal register in decimal, with hex",
         sum,
         "registers = { R1 = 5, R2 = 9 }\nexpect.registers = { R3 = 15 }",
         {"R3 is 14 (0E), expected 15 (0F)"},
         2},
        {"pc in hex", sum, "expect.pc = 0x06", {"PC is 04, expected 06"}, 2},
        {"pc in decimal", sum, "expect.pc = 6", {"PC is 4 (04), expected 6 (06)"}, 2},
        {"output skips code 0",
         ho,
         "expect.output = \"Hi\"",
         {"output is \"Ho\", expected \"Hi\""},
         4},
        {"output holds", ho, "expect.output = \"Ho\"", {}, 4},
        {"limit",
         Image({0xB0, 0x00}),
         "max-steps = 1000\nexpect.status = \"halted\"",
         {"status is limit after 1000 steps, expected halted"},
         1000},
        {"invalid after one step",
         Image({}),
         "expect.status = \"halted\"",
         {"status is invalid after 1 step, expected halted"},
         1},
        {"halted, invalid expected",
         sum,
         "expect.status = \"invalid\"",
         {"status is halted after 2 steps, expected invalid"},
         2},
        // store R1,[90]; halt -- a list expects consecutive bytes, each in its own form.
        {"memory",
         Image({0x31, 0x90, 0xC0, 0x00}),
         "registers = { R1 = 7 }\nexpect.memory = { 90 = [8, 0x01, 0b10], 8F = 0 }",
         {"memory[90] is 7 (07), expected 8 (08)", "memory[91] is 00, expected 01",
          "memory[92] is 00, expected 02"},
         2},
        {"every failure, in order",
         sum,
         "expect = { status = \"limit\", output = \"x\", "
         "registers = { R3 = 0x01, R0 = 0x02 }, memory = { 00 = 0x00 }, pc = 0x00 }",
         {"status is halted after 2 steps, expected limit", "output is \"\", expected \"x\"",
          "R0 is 00, expected 02", "R3 is 00, expected 01", "memory[00] is 53, expected 00",
          "PC is 04, expected 00"},
         2},
    };
    for (const Case& c : cases) {
        const TTestResult r = RunTest(OneTest(c.test), c.program);
        EXPECT_EQ(r.Failures, c.failures) << c.name;
        EXPECT_EQ(r.Passed, c.failures.empty()) << c.name;
        EXPECT_EQ(r.Steps, c.steps) << c.name;
        EXPECT_EQ(r.Name, "t");
    }
}

TEST(TestRun, StartsFromTheImageWithTheTestsBytesRegistersAndPc) {
    // At 10: store R1,[20]; load R2,[21]; halt.
    TMemoryImage program{};
    const int code[] = {0x31, 0x20, 0x12, 0x21, 0xC0, 0x00};
    for (int i = 0; i < 6; ++i) program[0x10 + i] = code[i];
    program[0x21] = 0x11;
    program[0xFF] = 0x33;
    const TTestCase test = OneTest(
        "pc = 0x10\nregisters = { R1 = 9, RF = 0x41 }\nmemory = { 21 = [0x44], FF = [1, 2] }\n"
        "expect = { status = \"halted\", registers = { R2 = 0x44 }, memory = { 20 = 9 }, pc = "
        "0x16, output = \"\" }");
    const TStartState start = StartState(test, program);
    EXPECT_EQ(start.Pc, 0x10);
    EXPECT_EQ(start.Registers[1], 9);
    EXPECT_EQ(start.Registers[15], 0x41);
    EXPECT_EQ(start.Registers[2], 0);
    EXPECT_EQ(start.Memory[0x21], 0x44);
    EXPECT_EQ(start.Memory[0xFF], 1);
    EXPECT_EQ(start.Memory[0x00], 2);
    EXPECT_EQ(start.Memory[0x11], 0x20);
    // RF's starting value is not output.
    const TTestResult r = RunTest(test, program);
    EXPECT_EQ(r.Failures, std::vector<std::string>{});
    EXPECT_EQ(r.Status, TStepResult::Halted);
    EXPECT_EQ(r.Output, "");
}

TEST(TestRun, RandomFillKeepsWhatTheImageOrTheTestSets) {
    // SplitMix64 from seed 0 begins E220A8397B1DCDAF, 6E789E6AA1B965F4: the same on every
    // standard library.
    const auto bytes = RandomFill(0);
    EXPECT_EQ(bytes[0], 0xAF);
    EXPECT_EQ(bytes[1], 0xF4);
    EXPECT_NE(RandomFill(1), bytes);
    EXPECT_EQ(RandomFill(0), bytes);

    TMemoryImage memory{};
    memory[0x00] = 0xC0, memory[0x40] = 0x12;
    std::bitset<256> placed;
    placed.set(0x00).set(0x01).set(0x40);  // halt, and a byte the source placed
    const TTestCase test = OneTest(
        "fill = \"random\"\nseed = 0\nregisters = { R2 = 7 }\nmemory = { 80 = 9 }\n"
        "expect.registers = { R5 = 0x00 }");
    const struct {
        const char* name;
        TProgramImage program;
        std::vector<int> random;  // the cells that take random bytes
    } cases[] = {
        {"assembled source", TProgramImage(memory, placed), {0x02, 0x3F, 0xFF}},
        {"memory image", TProgramImage(memory), {}},
    };
    for (const auto& c : cases) {
        const TStartState start = StartState(test, c.program);
        for (int r = 0; r < 16; ++r)
            EXPECT_EQ(start.Registers[r], r == 2 ? 7 : bytes[r]) << c.name << " R" << r;
        EXPECT_EQ(start.Memory[0x00], 0xC0) << c.name;
        EXPECT_EQ(start.Memory[0x01], 0x00) << c.name;
        EXPECT_EQ(start.Memory[0x40], 0x12) << c.name;
        EXPECT_EQ(start.Memory[0x80], 9) << c.name;
        for (const int a : c.random) EXPECT_EQ(start.Memory[a], bytes[16 + a]) << c.name << a;
        EXPECT_EQ(start.Memory[0x41], c.random.empty() ? 0 : bytes[16 + 0x41]) << c.name;
        // A failure says which random start it came from.
        const TTestResult r = RunTest(test, c.program);
        EXPECT_EQ(r.Failures,
                  (std::vector<std::string>{"R5 is " + HexByte(bytes[5]) + ", expected 00",
                                            "started from random values (seed 0)"}))
            << c.name;
    }
}

TEST(TestRun, PointsOnlyForAPass) {
    const TTestFile file = ParseTestFile(R"([[test]]
name = "pass"
points = 3
expect.status = "halted"
[[test]]
name = "fail"
points = 2
expect.status = "invalid"
)",
                                         "p.toml");
    const auto results = RunTests(file, Image({0xC0, 0x00}));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].Name, "pass");
    EXPECT_EQ(results[0].Points, 3);
    EXPECT_EQ(results[1].Points, 0);
    EXPECT_FALSE(results[1].Passed);

    const TTestResult notRun = NotRun(file.Tests[0], "not run: why");
    EXPECT_FALSE(notRun.Passed);
    EXPECT_EQ(notRun.Points, 0);
    EXPECT_FALSE(notRun.Status);
    EXPECT_EQ(notRun.Failures, std::vector<std::string>{"not run: why"});
}

TEST(TestRun, OutputIsCodePage437AndQuotedOnOneLine) {
    // load RF,81; load RF,0A; halt: "ü" and a line feed.
    const TTestResult r =
        RunTest(OneTest("expect.output = \"ü\\n!\""), Image({0x2F, 0x81, 0x2F, 0x0A, 0xC0, 0x00}));
    EXPECT_EQ(r.Output, "\x81\n");
    EXPECT_EQ(r.Failures, std::vector<std::string>{"output is \"ü\\n\", expected \"ü\\n!\""});
    const struct {
        std::string bytes, quoted;
    } cases[] = {
        {"", "\"\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\b\t\n\f\r", "\"\\b\\t\\n\\f\\r\""},
        {std::string("\x01\x1B\x7F", 3), "\"\\u0001\\u001B\\u007F\""},
        {"\xE1\xFE\xFF", "\"ß■\u00A0\""},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteOutput(c.bytes), c.quoted) << c.quoted;
}

// A program that writes in a loop: the report keeps the first bytes and counts the rest,
// while the comparison with the expected output stays exact beyond what is kept.
TEST(TestRun, LongOutputIsCountedNotKept) {
    // load RF,'A'; jmp 00: one byte every two steps.
    const TMemoryImage spew = Image({0x2F, 0x41, 0xB0, 0x00});
    const std::string shown = "\"" + std::string(1000, 'A') + "\"";
    const std::string expect1500 = "expect.output = \"" + std::string(1500, 'A') + "\"\n";
    const struct {
        const char* name;
        std::string test;
        long long bytes;
        std::vector<std::string> failures;
    } cases[] = {
        {"ten thousand bytes",
         "max-steps = 20000\nexpect.output = \"Hi\"",
         10000,
         {"output is " + shown + " \u2026 and 9,000 more bytes, expected \"Hi\""}},
        {"as long as expected", "max-steps = 2999\n" + expect1500, 1500, {}},
        {"one byte longer",
         "max-steps = 3001\n" + expect1500,
         1501,
         {"output is " + shown + " \u2026 and 501 more bytes, expected " + shown +
          " \u2026 and 500 more bytes (they differ from byte 1,501 on)"}},
        {"one byte shorter",
         "max-steps = 2997\n" + expect1500,
         1499,
         {"output is " + shown + " \u2026 and 499 more bytes, expected " + shown +
          " \u2026 and 500 more bytes (they differ from byte 1,500 on)"}},
        {"one byte more than is shown",
         "max-steps = 2001\nexpect.output = \"" + std::string(1000, 'A') + "\"",
         1001,
         {"output is " + shown + " \u2026 and 1 more byte, expected " + shown +
          " (they differ from byte 1,001 on)"}},
    };
    for (const auto& c : cases) {
        const TTestResult r = RunTest(OneTest(c.test), spew);
        EXPECT_EQ(r.Failures, c.failures) << c.name;
        EXPECT_EQ(r.OutputBytes, c.bytes) << c.name;
        EXPECT_EQ(r.Output, std::string(std::min<long long>(c.bytes, 1000), 'A')) << c.name;
    }
}

// The run goes in slices (of 65,536 steps) between which a stop is looked for; however
// they fall, the test ends where one whole run of the machine ends.
TEST(TestRun, EndsWhereOneWholeRunEnds) {
    const TMemoryImage endless = Image({0xB0, 0x00});      // jmp 00
    const TMemoryImage halts = Image({0x40, 0x00, 0xC0});  // mov R0,R0; halt
    constexpr long long Slice = 1 << 16;
    const std::pair<TMemoryImage, long long> cases[] = {
        {endless, 1},         {endless, Slice - 1},     {endless, Slice},
        {endless, Slice + 1}, {endless, 2 * Slice + 1}, {halts, 1},
        {halts, 2},           {halts, 3 * Slice}};
    for (const auto& [program, maxSteps] : cases) {
        TMachine machine;
        machine.Simulation.LoadImage(TProgramLoad(program, 0));
        long long steps = 0;
        const TStepResult status = machine.Simulation.Run(maxSteps, steps);
        TTestCase test;
        test.MaxSteps = maxSteps;
        const TTestResult r = RunTest(test, program);
        EXPECT_EQ(r.Status, status) << maxSteps;
        EXPECT_EQ(r.Steps, steps) << maxSteps;
    }
}

// Asked while a billion steps run (or before they begin), a stop ends them.
TEST(TestRun, AStopLeavesNoResult) {
    TTestCase billion;
    billion.MaxSteps = 1'000'000'000;
    std::stop_source source;
    std::optional<TTestResult> result;
    std::thread runner([&] {
        result = RunTest(billion, Image({0xB0, 0x00}), [&] { return source.stop_requested(); });
    });
    source.request_stop();
    runner.join();
    EXPECT_FALSE(result);
}

}  // namespace

// A solution whose every halt is a jump to itself passes no test of its exercise: each test
// expects the halt, so the registers right by chance are not enough.
TEST(Examples, ASolutionThatNeverHaltsPassesNoTest) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUARZEL_EXAMPLES)) {
        const std::string path = entry.path().string();
        if (!path.ends_with(".tests.toml")) continue;
        ++files;
        const TTestFile file = ReadTestFile(path);
        TLoadedProgram loaded = TryLoadProgram(*ProgramPath(file));
        ASSERT_TRUE(loaded.Image) << path;
        TProgramImage& image = *loaded.Image;
        for (int a = 0; a < 256; a += 2)
            if (image.Memory[a] == 0xC0 && image.Memory[a + 1] == 0x00)
                image.Memory[a] = 0xB0, image.Memory[a + 1] = a;  // jmp to itself
        for (const TTestResult& r : RunTests(file, image))
            EXPECT_FALSE(r.Passed) << path << ": " << r.Name;
    }
    EXPECT_GE(files, 10);
}
