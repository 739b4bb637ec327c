#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>

#include <sys/stat.h>

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
             "  wraps: R3 is 254 (FE), expected 1 (01)\n"},
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
        {Write("short.prg", std::string(1000, '\0')),
         "Stream read error: 1000 bytes, a memory image has 1024\n"},
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

TEST_F(CliTest, WarningsFailFailsEveryTestUnrunInEveryFormat) {
    const std::string strict = Write("strict.tests.toml", std::string("warnings = \"fail\"\n") +
                                                              (std::strchr(SumTests, '\n') + 1));
    const std::string warned = Write("warned.asm", "x: addi R3,R1,R2\nhalt\n");  // x unused
    const std::string why =
        "not run: the test file allows no warnings, and the assembler "
        "warned about the program";
    const std::string warning = warned + ":1:1: warning: the label x is never used";
    for (const char* format : {"text", "json", "junit", "gradescope", "prairielearn"}) {
        const TResult r = Test({strict, warned, "--format", format});
        EXPECT_EQ(r.status, ExitTestsFailed) << format;
        EXPECT_NE(r.out.find(why), std::string::npos) << format << '\n' << r.out;
        EXPECT_NE(r.out.find(warning), std::string::npos) << format << '\n' << r.out;
    }
    EXPECT_EQ(Test({strict, Write("clean.asm", Good)}).status, ExitOk);
    EXPECT_EQ(Test({tests_, warned}).status, ExitOk);  // warnings allowed by default
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
        {{Dir("none.toml"), good},
         "quarzel-cli: " + Dir("none.toml") + ": No such file or directory\n"},
        {{tests_, Dir("none.asm")},
         "quarzel-cli: " + Dir("none.asm") + ": No such file or directory\n"},
        {{tests_, Dir("empty")}, "quarzel-cli: " + Dir("empty") + ": no .asm or .prg file in it\n"},
        {{tests_, "--format", "xml"},
         "quarzel-cli test: --format takes text, json, junit, gradescope or prairielearn"},
        {{tests_, "--test", "wraps", "--test", "nope"},
         "quarzel-cli test: --test: no test named 'nope' in " + tests_},
        {{tests_, Dir(), "--format", "gradescope"},
         "quarzel-cli test: --format gradescope reports on one program: name its file, not the "
         "folder"},
        {{tests_, good, good, "--format", "prairielearn"},
         "quarzel-cli test: --format prairielearn reports on one program, not 2"},
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
    EXPECT_EQ(r.out,
              folder +
                  "/A.ASM: 0 of 2 tests passed, 0 of 3 points\n"
                  "  5 + 10: R3 is 0A, expected 0F\n  wraps: R3 is 254 (FE), expected 1 (01)\n" +
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
    EXPECT_EQ(pass["gradable"], true);
    EXPECT_EQ(pass["skipped"], nullptr);
    EXPECT_TRUE(pass["time"].is_number() && pass["time"] >= 0 && pass["time"] < 60);
    EXPECT_EQ(pass["tests"][0], nlohmann::json::parse(R"({"name": "5 + 10", "passed": true,
        "points": 2, "max_points": 2, "description": "", "hidden": false, "status": "halted",
        "steps": 2, "output": "", "output_bytes": 0, "failures": []})"));
    const auto& notAssembled = json["programs"][1];
    EXPECT_EQ(notAssembled["assembled"], false);
    EXPECT_EQ(notAssembled["gradable"], false);
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

// Every time="..." as time="T", the rest as written.
std::string WithoutTimes(const std::string& xml) {
    return std::regex_replace(xml, std::regex(R"(time="[0-9]+\.[0-9]{6}")"), "time=\"T\"");
}

TEST_F(CliTest, JunitReport) {
    Write("sum.asm", Good);
    const std::string broken = Write("b<&>.asm", Broken);
    const std::string wrong = Write("wrong.asm", Wrong);
    const TResult r = Test({tests_, Dir("sum.asm"), broken, wrong, "--format", "junit"});
    EXPECT_EQ(r.status, ExitTestsFailed);
    const std::string b = Dir("b&lt;&amp;&gt;.asm");
    const std::string why = "not run: the program did not assemble";
    const std::string messages = why + "&#10;" + b +
                                 ":1:11: Unexpected end of line. Expected: ','&#10;" + b +
                                 ":1:11: Unexpected end of line. Expected: register&#10;";
    const auto properties = [](const char* points, const char* max) {
        return std::string("    <properties>\n      <property name=\"points\" value=\"") + points +
               "\"/>\n      <property name=\"max_points\" value=\"" + max +
               "\"/>\n    </properties>\n";
    };
    const auto testcase = [](const std::string& name, const std::string& program,
                             const std::string& inside) {
        return "    <testcase name=\"" + name + "\" classname=\"" + program + "\" time=\"T\"" +
               (inside.empty() ? "/>\n" : ">\n      " + inside + "\n    </testcase>\n");
    };
    // A program that could not run gives <error>, a failed expectation <failure>.
    EXPECT_EQ(
        WithoutTimes(r.out),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<testsuites name=\"" +
            tests_ + "\" tests=\"6\" failures=\"2\" errors=\"2\" time=\"T\">\n" +
            "  <testsuite name=\"" + Dir("sum.asm") +
            "\" tests=\"2\" failures=\"0\" errors=\"0\" time=\"T\">\n" + properties("3", "3") +
            testcase("5 + 10", Dir("sum.asm"), "") + testcase("wraps", Dir("sum.asm"), "") +
            "  </testsuite>\n" + "  <testsuite name=\"" + b +
            "\" tests=\"2\" failures=\"0\" errors=\"2\" time=\"T\">\n" + properties("0", "3") +
            testcase("5 + 10", b, "<error message=\"" + why + "\">" + messages + "</error>") +
            testcase("wraps", b, "<error message=\"" + why + "\">" + messages + "</error>") +
            "  </testsuite>\n" + "  <testsuite name=\"" + wrong +
            "\" tests=\"2\" failures=\"2\" errors=\"0\" time=\"T\">\n" + properties("0", "3") +
            testcase("5 + 10", wrong,
                     "<failure message=\"R3 is 0A, expected 0F\">R3 is 0A, expected "
                     "0F&#10;</failure>") +
            testcase("wraps", wrong,
                     "<failure message=\"R3 is 254 (FE), expected 1 (01)\">R3 is 254 (FE), "
                     "expected 1 (01)&#10;</failure>") +
            "  </testsuite>\n</testsuites>\n");
}

TEST_F(CliTest, JunitHoldsOnlyWhatXmlCan) {
    Write("sum.asm", Good);
    // A name with a control character and a quote; a folder name that is not UTF-8.
    const std::string tests = Write("x.toml",
                                    "program = \"sum.asm\"\n[[test]]\n"
                                    "name = \"a\\u0001\\\"\"\nexpect.pc = 9\n");
    const TResult r = Test({tests, "--format", "junit"});
    EXPECT_NE(r.out.find("<testcase name=\"a\xEF\xBF\xBD&quot;\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("<failure message=\"PC is 4 (04), expected 9 (09)\">"), std::string::npos);
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
    EXPECT_EQ(nlohmann::json::parse(j.out)["programs"][0]["program"], Dir("d\\xFF/p.asm"));
    const TResult x = Test({tests_, odd, "--format", "junit"});
    EXPECT_NE(x.out.find("name=\"" + Dir("d\\xFF/p.asm") + "\""), std::string::npos);
}

// The sum tests with a description on the first and the second hidden.
std::string HiddenTests() {
    std::string tests = SumTests;
    tests.replace(tests.find("points = 2"), 0, "description = \"adds\"\n");
    tests.replace(tests.find("expect.registers = { R3 = 1 }"), 0, "hidden = true\n");
    return tests;
}

// Every key of object is one the service's documentation names.
void ExpectOnlyKeys(const nlohmann::json& object, const std::set<std::string>& named) {
    for (const auto& [key, value] : object.items()) EXPECT_TRUE(named.count(key)) << key;
}

TEST_F(CliTest, GradescopeReport) {
    const std::string tests = Write("h.toml", HiddenTests());
    const std::string wrong = Write("wrong.asm", Wrong);
    const std::string broken = Write("broken.asm", Broken);
    const TResult r = Test({tests, wrong, "--format", "gradescope"});
    EXPECT_EQ(r.status, ExitTestsFailed);
    auto json = nlohmann::json::parse(r.out);
    // The keys Gradescope documents for results.json (gradescope-autograders.readthedocs.io).
    ExpectOnlyKeys(json, {"score", "execution_time", "output", "output_format",
                          "test_output_format", "test_name_format", "visibility",
                          "stdout_visibility", "extra_data", "tests", "leaderboard"});
    for (const auto& test : json["tests"])
        ExpectOnlyKeys(test, {"score", "max_score", "status", "name", "name_format", "number",
                              "output", "output_format", "tags", "visibility", "extra_data"});
    EXPECT_TRUE(json["execution_time"].is_number());
    json.erase("execution_time");
    EXPECT_EQ(
        json,
        nlohmann::json::parse(
            R"({"score": 0,
        "output": ")" +
            wrong +
            R"(: 0 of 2 tests passed, 0 of 3 points\n  5 + 10: R3 is 0A, expected 0F\n  wraps: failed\n",
        "tests": [
          {"name": "5 + 10", "score": 0, "max_score": 2, "status": "failed",
           "output": "R3 is 0A, expected 0F", "visibility": "visible"},
          {"name": "wraps", "score": 0, "max_score": 1, "status": "failed",
           "visibility": "after_published"}]})"));
    const auto notRun = nlohmann::json::parse(Test({tests, broken, "--format", "gradescope"}).out);
    EXPECT_EQ(notRun["tests"][0]["output"], "not run: the program did not assemble");
}

TEST_F(CliTest, PrairieLearnReport) {
    const std::string tests = Write("h.toml", HiddenTests());
    // Writes "5" and nothing else; R3 stays 0.
    const std::string five = Write("five.asm", "load RF,35h\nhalt\n");
    const TResult r = Test({tests, five, "--format", "prairielearn"});
    EXPECT_EQ(r.status, ExitTestsFailed);
    const auto json = nlohmann::json::parse(r.out);
    // prairielearn.readthedocs.io, "External Grading", "Grading results".
    const std::set<std::string> top = {"gradable", "score", "message",      "output",
                                       "images",   "tests", "format_errors"};
    ExpectOnlyKeys(json, top);
    for (const auto& test : json["tests"])
        ExpectOnlyKeys(
            test, {"name", "description", "points", "max_points", "message", "output", "images"});
    EXPECT_EQ(
        json,
        nlohmann::json::parse(
            R"({"gradable": true, "score": 0.0,
        "message": "0 of 2 tests passed, 0 of 3 points",
        "output": ")" +
            five +
            R"(: 0 of 2 tests passed, 0 of 3 points\n  5 + 10: R3 is 00, expected 0F\n  wraps: failed\n",
        "tests": [
          {"name": "5 + 10", "description": "adds", "points": 0, "max_points": 2,
           "message": "R3 is 00, expected 0F", "output": "5"},
          {"name": "wraps", "points": 0, "max_points": 1, "message": "failed"}]})"));
    // Passes "wraps" alone: 1 of 3 points.
    const std::string one = Write("one.asm", "load R3,1\nhalt\n");
    EXPECT_EQ(nlohmann::json::parse(Test({tests, one, "--format", "prairielearn"}).out)["score"],
              1.0 / 3);
    // A program that does not assemble costs the student no attempt.
    const std::string broken = Write("broken.asm", Broken);
    const auto notGradable =
        nlohmann::json::parse(Test({tests, broken, "--format", "prairielearn"}).out);
    ExpectOnlyKeys(notGradable, top);
    EXPECT_EQ(notGradable["gradable"], false);
    EXPECT_EQ(notGradable["format_errors"],
              nlohmann::json({broken + ":1:11: Unexpected end of line. Expected: ','",
                              broken + ":1:11: Unexpected end of line. Expected: register"}));
}

// Students' reports show of a hidden test its name and result, never what it expects.
TEST_F(CliTest, HiddenTestsKeepTheirExpectationsFromStudents) {
    const std::string tests = Write("h.toml", HiddenTests());
    const std::string wrong = Write("wrong.asm", Wrong);
    for (const char* format : {"text", "json", "junit", "gradescope", "prairielearn"}) {
        const TResult r = Test({tests, wrong, "--format", format});
        EXPECT_EQ(r.status, ExitTestsFailed) << format;
        EXPECT_NE(r.out.find("wraps"), std::string::npos) << format;
        EXPECT_NE(r.out.find("expected 0F"), std::string::npos) << format;
        EXPECT_EQ(r.out.find("expected 1 (01)") != std::string::npos, format == std::string("json"))
            << format << r.out;
    }
}

TEST_F(CliTest, TestOptionRunsOnlyTheNamedTests) {
    // 5 + 5 = 0A fails "5 + 10"; a test expecting R3 = 0A passes.
    const std::string tests =
        Write("t.toml", std::string(SumTests) +
                            "[[test]]\nname = \"ten\"\nregisters = { R1 = 5 }\nexpect.registers = "
                            "{ R3 = 0x0A }\n");
    const std::string wrong = Write("wrong.asm", Wrong);
    const struct {
        std::vector<std::string> names;
        int status;
        std::string first;  // the report's first line
    } cases[] = {
        {{}, ExitTestsFailed, ": 1 of 3 tests passed, 1 of 4 points"},
        {{"ten"}, ExitOk, ": 1 of 1 tests passed, 1 of 1 points"},
        {{"ten", "wraps"}, ExitTestsFailed, ": 1 of 2 tests passed, 1 of 2 points"},
        {{"5 + 10", "5 + 10"}, ExitTestsFailed, ": 0 of 1 tests passed, 0 of 2 points"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {tests, wrong};
        for (const std::string& name : c.names) args.insert(args.end(), {"--test", name});
        const TResult r = Test(args);
        EXPECT_EQ(r.status, c.status) << c.first;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), wrong + c.first);
    }
}

// A file's name cannot forge a report line, steer a terminal or pass for another's.
TEST_F(CliTest, NamesCannotForgeLinesOrMerge) {
    Write("class/bob.asm: 4 of 4 tests passed, 6 of 6 points\nzz.asm", Good);
    Write("class/x\x1B[2J.asm", Good);
    Write("class/x\xFF.asm", Good);
    Write("class/x\xFE.asm", Good);
    const TResult text = Test({tests_, Dir("class")});
    const std::string at = Dir("class/");
    const std::string line = ": 2 of 2 tests passed, 3 of 3 points\n";
    EXPECT_EQ(text.out, at + "bob.asm: 4 of 4 tests passed, 6 of 6 points\\nzz.asm" + line + at +
                            "x\\x1B[2J.asm" + line + at + "x\\xFE.asm" + line + at + "x\\xFF.asm" +
                            line);
    std::set<std::string> names;
    const auto json = nlohmann::json::parse(Test({tests_, Dir("class"), "--format", "json"}).out);
    for (const auto& p : json["programs"]) names.insert(p["program"].get<std::string>());
    EXPECT_EQ(names.size(), 4u);  // x\xFF and x\xFE were both x\uFFFD
    EXPECT_EQ(names.count(at + "x\\xFF.asm"), 1u);
}

TEST_F(CliTest, SkippedEntriesAreListedWithTheReason) {
    Write("class/a.asm", Good);
    fs::create_symlink("gone.asm", dir_ / "class/dangling.asm");
    ASSERT_EQ(mkfifo(Dir("class/pipe.prg").c_str(), 0600), 0);
    const std::string at = Dir("class/");
    const TResult text = Test({tests_, Dir("class")});
    EXPECT_EQ(text.status, ExitTestsFailed);  // not every submission was graded
    EXPECT_EQ(text.out, at + "a.asm: 2 of 2 tests passed, 3 of 3 points\n" + at +
                            "dangling.asm: skipped: a link to nothing\n" + at +
                            "pipe.prg: skipped: a pipe, not a regular file\n");
    const auto json = nlohmann::json::parse(Test({tests_, Dir("class"), "--format", "json"}).out);
    EXPECT_EQ(json["programs"][2]["program"], at + "pipe.prg");
    EXPECT_EQ(json["programs"][2]["skipped"], "a pipe, not a regular file");
    const TResult junit = Test({tests_, Dir("class"), "--format", "junit"});
    EXPECT_NE(WithoutTimes(junit.out).find(
                  "<testsuite name=\"" + at +
                  "pipe.prg\" tests=\"2\" failures=\"0\" errors=\"0\" skipped=\"2\""),
              std::string::npos)
        << junit.out;
    EXPECT_NE(junit.out.find("<skipped message=\"a link to nothing\"/>"), std::string::npos);
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
    EXPECT_EQ(r.out.rfind("usage: quarzel-cli test [OPTION]... TESTS.toml", 0), 0u);
}

}  // namespace
