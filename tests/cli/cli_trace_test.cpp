#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "core/memfile.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class CliTrace : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_trace_"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Image(int address, const std::vector<int>& bytes) {
        TMemoryImage image{};
        for (size_t i = 0; i < bytes.size(); ++i) image[(address + i) & 0xFF] = bytes[i];
        const std::string path = (dir_ / "p.prg").string();
        WriteMemoryFile(path, image);
        return path;
    }
    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        args.insert(args.begin(), "run");
        return RunCli(args, out_, err_);
    }
    fs::path dir_;
    std::ostringstream out_, err_;
};

const std::string Header = "step\tpc\tword\tinstruction\tchange\n";

TEST_F(CliTrace, LinesForEveryKindOfStep) {
    struct Case {
        const char* name;
        int pc;
        std::vector<int> bytes;
        std::vector<std::string> extra;
        std::string lines;
    };
    const Case cases[] = {
        {"count to two, then output and halt",
         0x00,
         {0x20, 0x02, 0x21, 0x00, 0x22, 0x01, 0x51, 0x12, 0x31, 0x80, 0xB1, 0x0E, 0xB0, 0x06, 0x2F,
          0x41, 0xC0, 0x00},
         {},
         "1\t00\t2002\tload  R0,02\tR0 00->02\n"
         "2\t02\t2100\tload  R1,00\tR1 00->00\n"
         "3\t04\t2201\tload  R2,01\tR2 00->01\n"
         "4\t06\t5112\taddi  R1,R1,R2\tR1 00->01\n"
         "5\t08\t3180\tstore R1,[80]\t[80] 00->01\n"
         "6\t0A\tB10E\tjmpEQ R1=R0,0E\t-\n"
         "7\t0C\tB006\tjmpEQ R0=R0,06\tPC 0E->06\n"
         "8\t06\t5112\taddi  R1,R1,R2\tR1 01->02\n"
         "9\t08\t3180\tstore R1,[80]\t[80] 01->02\n"
         "10\t0A\tB10E\tjmpEQ R1=R0,0E\tPC 0C->0E\n"
         "11\t0E\t2F41\tload  RF,41\tRF 00->41\n"
         "12\t10\tC000\thalt\thalt\n"},
        {"invalid word stops", 0x00, {}, {}, "1\t00\t0000\tinvalid\tinvalid\n"},
        {"invalid rotate", 0x00, {0xA1, 0x10}, {}, "1\t00\tA110\tinvalid\tinvalid\n"},
        {"wrap at FF, a jump to the next word, an unchanged value",
         0xFF,
         {0xF0, 0x01, 0xD0, 0x13, 0xE0, 0x3F, 0x40, 0xA3, 0xA3, 0x01},
         {"--pc", "FF", "--max-steps", "6"},
         "1\tFF\tF001\tjmpLE R0<=R0,01\tPC 01->01\n"
         "2\t01\tD013\tload  R1,[R3]\tR1 00->01\n"
         "3\t03\tE03F\tstore R3,[RF]\t[00] 01->00\n"
         "4\t05\t40A3\tmove  R3,RA\tR3 00->00\n"
         "5\t07\tA301\tror   R3,1\tR3 00->00\n"
         "6\t09\t0000\tinvalid\tinvalid\n"},
        {"indirect, move, ror, addf",
         0x00,
         {0x23, 0x0F, 0xD0, 0x43, 0xE0, 0x3F, 0x40, 0x3A, 0xA3, 0x01, 0x23, 0x0F, 0x61, 0x23, 0xFE,
          0x11, 0x80, 0xC0, 0x00},
         {"--max-steps", "8"},
         "1\t00\t230F\tload  R3,0F\tR3 00->0F\n"
         "2\t02\tD043\tload  R4,[R3]\tR4 00->11\n"
         "3\t04\tE03F\tstore R3,[RF]\t[00] 23->0F\n"
         "4\t06\t403A\tmove  RA,R3\tRA 00->0F\n"
         "5\t08\tA301\tror   R3,1\tR3 0F->87\n"
         "6\t0A\t230F\tload  R3,0F\tR3 87->0F\n"
         "7\t0C\t6123\taddf  R1,R2,R3\tR1 00->0F\n"
         "8\t0E\tFE11\tjmpLE RE<=R0,11\tPC 10->11\n"},
        {"no steps", 0x00, {0xC0, 0x00}, {"--max-steps", "0"}, ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {Image(c.pc, c.bytes), "--trace", "-"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        Run(args);
        EXPECT_EQ(out_.str(), Header + c.lines) << c.name;
    }
}

TEST_F(CliTrace, ToAFileTheOutputStaysOnStandardOutput) {
    const std::string image = Image(0, {0x2F, 0x48, 0x2F, 0x69, 0xC0, 0x00});
    const std::string trace = (dir_ / "t.tsv").string();
    const std::string expected = Header +
                                 "1\t00\t2F48\tload  RF,48\tRF 00->48\n"
                                 "2\t02\t2F69\tload  RF,69\tRF 48->69\n"
                                 "3\t04\tC000\thalt\thalt\n";
    EXPECT_EQ(Run({image, "--trace", trace}), ExitOk);
    EXPECT_EQ(out_.str(), "Hi");
    EXPECT_EQ(err_.str(), "status: halted\nsteps: 3\n");
    std::ifstream in(trace, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), expected);

    EXPECT_EQ(Run({image, "--trace", "-"}), ExitOk);
    EXPECT_EQ(out_.str(), expected);  // the trace in place of the output bytes
    EXPECT_EQ(err_.str(), "status: halted\nsteps: 3\n");
}

TEST_F(CliTrace, StepsCountOnAcrossRoundsUpToTheLimit) {
    Run({Image(0, {0xB0, 0x00}), "--trace", "-", "--max-steps", "200000"});
    const std::string text = out_.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 200001);
    EXPECT_NE(text.find("\n65537\t00\tB000\tjmpEQ R0=R0,00\tPC 02->00\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\n200000\t00\tB000\tjmpEQ R0=R0,00\tPC 02->00\n"));
    EXPECT_EQ(err_.str(), "status: limit\nsteps: 200000\n");
}

TEST_F(CliTrace, ATraceThatCannotBeWrittenFails) {
    const std::string image = Image(0, {0xB0, 0x00});
    const std::string readOnly = (dir_ / "ro.tsv").string();
    std::ofstream(readOnly) << "old";
    fs::permissions(readOnly, fs::perms::owner_read);
    fs::create_symlink(image, dir_ / "link.prg");
    struct Case {
        std::string path, message;
    };
    const Case cases[] = {
        {image, "the trace would overwrite the program " + image},
        {(dir_ / "link.prg").string(), "the trace would overwrite the program " + image},
        {readOnly, "Cannot create file " + readOnly},
        {dir_.string(), "Cannot create file " + dir_.string()},
        {(dir_ / "no" / "t.tsv").string(),
         "Cannot create file " + (dir_ / "no" / "t.tsv").string()},
        {"/dev/full", "Cannot write the trace to /dev/full"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run({image, "--trace", c.path, "--max-steps", "100000"}), ExitError) << c.path;
        EXPECT_NE(err_.str().find(c.message), std::string::npos) << err_.str();
        EXPECT_EQ(err_.str().find("status:"), std::string::npos) << c.path;
    }
    EXPECT_EQ(fs::file_size(image), 1024u);
    std::ifstream in(readOnly);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    // A device takes the trace straight through.
    EXPECT_EQ(Run({image, "--trace", "/dev/null", "--max-steps", "10"}), ExitLimit);
    EXPECT_EQ(err_.str(), "status: limit\nsteps: 10\n");
}

}  // namespace

TEST_F(CliTrace, ExplainAddsASixthColumnWithTheValuesEachStepMet) {
    const std::string image = Image(0, {0x21, 0x05, 0x52, 0x11, 0xB2, 0x00, 0xC0, 0x00});
    EXPECT_EQ(Run({image, "--trace", "-", "--explain"}), ExitOk);
    EXPECT_EQ(out_.str(),
              "step\tpc\tword\tinstruction\tchange\texplanation\n"
              "1\t00\t2105\tload  R1,05\tR1 00->05\tR1 := 05 (the number itself, not memory[05])\n"
              "2\t02\t5211\taddi  R2,R1,R1\tR2 00->0A\tR2 := R1 + R1 = 05 + 05 = 0A (5 + 5 = 10)\n"
              "3\t04\tB200\tjmpEQ R2=R0,00\t-\tR2 (0A) = R0 (00)? no: go on at 06\n"
              "4\t06\tC000\thalt\thalt\thalt: the machine stops\n");
    EXPECT_EQ(Run({image, "--explain"}), ExitError);
    EXPECT_NE(err_.str().find("--explain needs --trace"), std::string::npos);
}

// Each round of the run starts where the last one's explanations left the machine.
TEST_F(CliTrace, ExplanationsFollowTheMachineAcrossRounds) {
    // R1 := R1 + R2 (R2 = 1) forever: step n meets R1 = (n - 2) mod 256.
    Run({Image(0, {0x22, 0x01, 0x51, 0x12, 0xB0, 0x02}), "--trace", "-", "--explain", "--max-steps",
         "140000"});
    std::istringstream lines(out_.str());
    std::string line;
    long long checked = 0;
    while (std::getline(lines, line)) {
        ASSERT_FALSE(line.ends_with('\t')) << line;
        const long long step = std::atoll(line.c_str());
        if (step < 2 || (step - 2) % 2 != 0) continue;
        const int before = static_cast<int>(((step - 2) / 2) % 256);
        char expected[32];
        std::snprintf(expected, sizeof expected, "= %02X + 01 = %02X", before, (before + 1) % 256);
        ASSERT_NE(line.find(expected), std::string::npos) << line;
        ++checked;
    }
    EXPECT_EQ(checked, 70000);
}
