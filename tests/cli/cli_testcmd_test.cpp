#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.h"
#include "core/memfile.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

// R3 := R1 + R2, worth 2 + 1 points.
constexpr const char* SumTests = R"(program = "sum.asm"
[[test]]
name = "5 + 10"
points = 2
registers = { R1 = 5, R2 = 10 }
expect = { status = "halted", registers = { R3 = 0x0F } }
[[test]]
name = "wraps"
registers = { R1 = 0xFF, R2 = 2 }
expect.registers = { R3 = 1 }
)";
constexpr const char* Good = "addi R3,R1,R2\nhalt\n";
constexpr const char* Wrong = "addi R3,R1,R1\nhalt\n";  // 5 + 5 = 0A; FF + FF = FE
constexpr const char* Broken = "addi R3,R1\nhalt\n";

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshTestDir("quarzel_clitest_");
        tests_ = Write("sum.tests.toml", SumTests);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Write(const std::string& name, const std::string& text) {
        const fs::path path = dir_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    struct TResult {
        int status;
        std::string out, err;
    };
    TResult Test(std::vector<std::string> args) {
        args.insert(args.begin(), "test");
        std::ostringstream out, err;
        const int status = RunCli(args, out, err);
        return {status, out.str(), err.str()};
    }
    std::string Dir(const std::string& name = "") const { return (dir_ / name).string(); }

    fs::path dir_;
    std::string tests_;
};

TEST_F(CliTest, ExitStatusAndTextReport) {
    const std::string good = Write("sum.asm", Good);
    const std::string wrong = Write("wrong.asm", Wrong);
    const std::string broken = Write("broken.asm", Broken);
    struct Case {
        std::vector<std::string> programs;
        int status;
        std::string out;
    };
    const Case cases[] = {
        // With none named, the file's program beside it.
        {{}, ExitOk, good + ": 2 of 2 tests passed, 3 of 3 points\n"},
        {{good}, ExitOk, good + ": 2 of 2 tests passed, 3 of 3 points\n"},
        {{wrong},
         ExitTestsFailed,
         wrong + ": 0 of 2 tests passed, 0 of 3 points\n  5 + 10: R3 is 0A, expected 0F\n" +
             "  wraps: R3 is FE, expected 01\n"},
        {{broken, good},
         ExitTestsFailed,
         broken + ": 0 of 2 tests passed, 0 of 3 points\n  " + broken +
             ":1:11: Unexpected end of line. Expected: ','\n" + "  " + broken +
             ":1:11: Unexpected end of line. Expected: register\n" +
             "  5 + 10: not run: the program did not assemble\n" +
             "  wraps: not run: the program did not assemble\n" + good +
             ": 2 of 2 tests passed, 3 of 3 points\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {tests_};
        args.insert(args.end(), c.programs.begin(), c.programs.end());
        const TResult r = Test(args);
        EXPECT_EQ(r.status, c.status) << c.out;
        EXPECT_EQ(r.out, c.out);
        EXPECT_EQ(r.err, "");
    }
}

// A program that cannot be read fails its tests saying so, and why; a source is not said to
// have failed to assemble when it was never read.
TEST_F(CliTest, AProgramThatCannotBeReadFailsItsTests) {
    const std::string fifo = Dir("fifo.asm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const struct {
        std::string program, why;
    } cases[] = {
        {Write("bad.prg", std::string(1024, '\x7F')),
         "The file holds the value 2139062143 at address 00, which is not a byte"},
        {fifo, "Cannot open file " + fifo + ": it is a pipe, not a regular file."},
    };
    for (const auto& c : cases) {
        const TResult r = Test({tests_, c.program});
        EXPECT_EQ(r.status, ExitTestsFailed);
        EXPECT_EQ(r.out.rfind(c.program + ": 0 of 2 tests passed, 0 of 3 points\n  " + c.why, 0),
                  0u)
            << r.out;
        EXPECT_NE(r.out.find("\n  5 + 10: not run: the program could not be read\n"),
                  std::string::npos)
            << r.out;
    }
}

TEST_F(CliTest, ErrorsExitOne) {
    const std::string good = Write("sum.asm", Good);
    const std::string refused = Write("refused.toml", "[[test]]\nname = \"a\"\nexpected = 1\n");
    const std::string noProgram =
        Write("noprog.toml", "[[test]]\nname = \"a\"\nexpect.status = \"halted\"\n");
    fs::create_directories(dir_ / "empty");
    Write("empty/notes.txt", "not a program");
    struct Case {
        std::vector<std::string> args;
        std::string err;  // the start of standard error
    };
    const Case cases[] = {
        {{refused, good},
         refused + ":1:1: test 'a' has no expectation ([test.expect])\n" + refused +
             ":3:1: unknown key 'expected'; a test takes "},
        {{noProgram},
         noProgram + ":1:1: no program to test: name one, or give the file a "
                     "'program' key\n"},
        {{Dir("none.toml"), good}, "quarzel-cli test: Cannot open file " + Dir("none.toml")},
        {{tests_, Dir("none.asm")}, "quarzel-cli test: Cannot open file " + Dir("none.asm")},
        {{tests_, Dir("empty")},
         "quarzel-cli test: No .asm or .prg file in folder " + Dir("empty")},
        {{tests_, "--format", "xml"}, "quarzel-cli test: --format takes text, json or junit"},
        {{}, "quarzel-cli test: missing file name"},
        {{tests_, "-o", tests_}, "quarzel-cli test: the report would overwrite the test file"},
        {{tests_, good, "-o", good}, "quarzel-cli test: the report would overwrite the program"},
    };
    for (const Case& c : cases) {
        const TResult r = Test(c.args);
        EXPECT_EQ(r.status, ExitError) << c.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(r.out, "") << c.err;
    }
    std::ifstream in(good);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), Good);
}

TEST_F(CliTest, AFolderStandsForItsProgramsSortedByName) {
    Write("class/b.asm", Good);
    Write("class/A.ASM", Wrong);
    Write("class/notes.txt", "x");
    Write("class/sub/c.asm", Good);
    TMemoryImage image{};
    image[0] = 0x53, image[1] = 0x12, image[2] = 0xC0;  // addi R3,R1,R2; halt
    WriteMemoryFile(Dir("class/c.prg"), image);
    const TResult r = Test({tests_, Dir("class")});
    EXPECT_EQ(r.status, ExitTestsFailed);
    const std::string folder = Dir("class");
    EXPECT_EQ(r.out, folder +
                         "/A.ASM: 0 of 2 tests passed, 0 of 3 points\n"
                         "  5 + 10: R3 is 0A, expected 0F\n  wraps: R3 is FE, expected 01\n" +
                         folder + "/b.asm: 2 of 2 tests passed, 3 of 3 points\n" + folder +
                         "/c.prg: 2 of 2 tests passed, 3 of 3 points\n");
}

TEST_F(CliTest, JsonReport) {
    const std::string good = Write("sum.asm", Good);
    const std::string broken = Write("broken.asm", Broken);
    Write("hi.tests.toml", "[[test]]\nname = \"out\"\nexpect.output = \"Hü\"\n");
    const TResult r =
        Test({tests_, Dir("sum.asm"), broken, Write("wrong.asm", Wrong), "--format", "json"});
    EXPECT_EQ(r.status, ExitTestsFailed);
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["tests_file"], tests_);
    ASSERT_EQ(json["programs"].size(), 3u);
    const auto& pass = json["programs"][0];
    EXPECT_EQ(pass["program"], good);
    EXPECT_EQ(pass["assembled"], true);
    EXPECT_EQ(pass["errors"], nlohmann::json::array());
    EXPECT_EQ(pass["passed"], 2);
    EXPECT_EQ(pass["total"], 2);
    EXPECT_EQ(pass["points"], 3);
    EXPECT_EQ(pass["max_points"], 3);
    EXPECT_EQ(pass["tests"][0], nlohmann::json::parse(R"({"name": "5 + 10", "passed": true,
        "points": 2, "status": "halted", "steps": 2, "output": "", "output_bytes": 0,
        "failures": []})"));
    const auto& notAssembled = json["programs"][1];
    EXPECT_EQ(notAssembled["assembled"], false);
    EXPECT_EQ(notAssembled["errors"][0], broken + ":1:11: Unexpected end of line. Expected: ','");
    EXPECT_EQ(notAssembled["points"], 0);
    EXPECT_EQ(notAssembled["tests"][1]["status"], nullptr);
    EXPECT_EQ(notAssembled["tests"][1]["passed"], false);
    const auto& failed = json["programs"][2]["tests"][0];
    EXPECT_EQ(failed["points"], 0);
    EXPECT_EQ(failed["failures"], nlohmann::json::parse(R"(["R3 is 0A, expected 0F"])"));

    // Writes H, 0 and 81 ("ü") to RF.
    const std::string hi = Write("hi.asm", "load RF,72\nload RF,0\nload RF,0x81\nhalt\n");
    const TResult out = Test({Dir("hi.tests.toml"), hi, "--format", "json"});
    EXPECT_EQ(out.status, ExitOk);
    const auto test = nlohmann::json::parse(out.out)["programs"][0]["tests"][0];
    EXPECT_EQ(test["output"], "Hü");
    EXPECT_EQ(test["output_bytes"], 2);
}

TEST_F(CliTest, JunitReport) {
    Write("sum.asm", Good);
    const std::string broken = Write("b<&>.asm", Broken);
    const TResult r = Test({tests_, Dir("sum.asm"), broken, "--format", "junit"});
    EXPECT_EQ(r.status, ExitTestsFailed);
    const std::string b = Dir("b&lt;&amp;&gt;.asm");
    const std::string why = "not run: the program did not assemble";
    const std::string messages = why + "&#10;" + b +
                                 ":1:11: Unexpected end of line. Expected: ','&#10;" + b +
                                 ":1:11: Unexpected end of line. Expected: register&#10;";
    EXPECT_EQ(r.out,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<testsuites name=\"" +
                  tests_ +
                  "\" tests=\"4\" failures=\"2\">\n"
                  "  <testsuite name=\"" +
                  Dir("sum.asm") +
                  "\" tests=\"2\" failures=\"0\">\n"
                  "    <testcase name=\"5 + 10\" classname=\"" +
                  Dir("sum.asm") +
                  "\"/>\n"
                  "    <testcase name=\"wraps\" classname=\"" +
                  Dir("sum.asm") +
                  "\"/>\n"
                  "  </testsuite>\n"
                  "  <testsuite name=\"" +
                  b +
                  "\" tests=\"2\" failures=\"2\">\n"
                  "    <testcase name=\"5 + 10\" classname=\"" +
                  b +
                  "\">\n"
                  "      <failure message=\"" +
                  why + "\">" + messages +
                  "</failure>\n"
                  "    </testcase>\n"
                  "    <testcase name=\"wraps\" classname=\"" +
                  b +
                  "\">\n"
                  "      <failure message=\"" +
                  why + "\">" + messages +
                  "</failure>\n"
                  "    </testcase>\n"
                  "  </testsuite>\n"
                  "</testsuites>\n");
}

TEST_F(CliTest, JunitHoldsOnlyWhatXmlCan) {
    Write("sum.asm", Good);
    // A name with a control character and a quote; a folder name that is not UTF-8.
    const std::string tests = Write("x.toml",
                                    "program = \"sum.asm\"\n[[test]]\n"
                                    "name = \"a\\u0001\\\"\"\nexpect.pc = 9\n");
    const TResult r = Test({tests, "--format", "junit"});
    EXPECT_NE(r.out.find("<testcase name=\"a\xEF\xBF\xBD&quot;\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("<failure message=\"PC is 04, expected 09\">"), std::string::npos);
    // Characters XML 1.0 forbids go; others stay, four-byte ones too.
    const std::string forbidden =
        Write("f.toml",
              "program = \"sum.asm\"\n[[test]]\nname = \"b\\uFFFE\\uFFFF\\u00e9\\U0001F600\"\n"
              "expect.pc = 4\n");
    const TResult f = Test({forbidden, "--format", "junit"});
    EXPECT_NE(f.out.find("<testcase name=\"b\xEF\xBF\xBD\xEF\xBF\xBD\xC3\xA9\xF0\x9F\x98\x80\""),
              std::string::npos)
        << f.out;
    const std::string odd = Write("d\xFF/p.asm", Good);
    const TResult j = Test({tests_, odd, "--format", "json"});
    EXPECT_EQ(j.status, ExitOk);
    EXPECT_EQ(nlohmann::json::parse(j.out)["programs"][0]["program"], Dir("d\xEF\xBF\xBD/p.asm"));
    const TResult x = Test({tests_, odd, "--format", "junit"});
    EXPECT_NE(x.out.find("name=\"" + Dir("d\xEF\xBF\xBD/p.asm") + "\""), std::string::npos);
}

TEST_F(CliTest, PointsAddUpBeyondTwoBillion) {
    Write("halt.asm", "halt\n");
    std::string tests = "program = \"halt.asm\"\n";
    for (int i = 0; i < 2148; ++i)
        tests += "[[test]]\nname = \"t" + std::to_string(i) +
                 "\"\npoints = 1000000\nexpect.status = \"halted\"\n";
    const std::string file = Write("many.toml", tests);
    const TResult text = Test({file});
    EXPECT_NE(text.out.find("2148000000 of 2148000000 points"), std::string::npos) << text.out;
    const TResult json = Test({file, "--format", "json"});
    EXPECT_EQ(nlohmann::json::parse(json.out)["programs"][0]["points"], 2148000000LL);
}

TEST_F(CliTest, ReportToAFile) {
    Write("sum.asm", Good);
    const std::string report = Dir("report.json");
    const TResult r = Test({tests_, "-o", report, "--format", "json"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.out, "");
    std::ifstream in(report);
    const auto json = nlohmann::json::parse(in);
    EXPECT_EQ(json["programs"][0]["passed"], 2);
    const TResult unwritable = Test({tests_, "-o", Dir("no/such/folder/r.txt")});
    EXPECT_EQ(unwritable.status, ExitError);
    EXPECT_NE(unwritable.err.find("Cannot create file"), std::string::npos) << unwritable.err;
    const TResult discarded = Test({tests_, "-o", "/dev/null"});
    EXPECT_EQ(discarded.status, ExitOk) << discarded.err;
    EXPECT_EQ(discarded.out + discarded.err, "");
}

TEST_F(CliTest, Help) {
    const TResult r = Test({"--help"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.out.rfind("usage: quarzel-cli test TESTS.toml", 0), 0u);
}

}  // namespace
