#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/cli.h"
#include "core/memfile.h"
#include "core/version.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

struct TCliResult {
    int status;
    std::string out, err;
};

TCliResult Cli(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

class CliTool : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_cli_"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Image(std::initializer_list<std::pair<int, std::vector<int>>> pieces) {
        TMemoryImage image{};
        for (const auto& [address, bytes] : pieces)
            for (size_t i = 0; i < bytes.size(); ++i) image[(address + i) & 0xFF] = bytes[i];
        const std::string path = (dir_ / ("p" + std::to_string(count_++) + ".prg")).string();
        WriteMemoryFile(path, image);
        return path;
    }
    fs::path dir_;
    int count_ = 0;
};

TEST_F(CliTool, RunStopsWithStatusStepsAndExitCode) {
    struct Case {
        const char* name;
        std::vector<int> bytes;
        std::vector<std::string> extra;
        int status;
        const char* out;
        const char* err;
    };
    const Case cases[] = {
        {"halt",
         {0x2F, 0x48, 0x2F, 0x00, 0x2F, 0x69, 0xC0, 0x00},
         {},
         ExitOk,
         "Hi",
         "status: halted\nsteps: 4\n"},
        {"zeros", {}, {}, ExitInvalid, "", "status: invalid\nsteps: 1\n"},
        {"loop",
         {0xB0, 0x00},
         {"--max-steps", "500"},
         ExitLimit,
         "",
         "status: limit\nsteps: 500\n"},
        {"no steps",
         {0xC0, 0x00},
         {"--max-steps", "0"},
         ExitLimit,
         "",
         "status: limit\nsteps: 0\n"},
        {"pc", {0x00, 0x00, 0xC0, 0x00}, {"--pc", "2"}, ExitOk, "", "status: halted\nsteps: 1\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"run", Image({{0, c.bytes}})};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const TCliResult r = Cli(args);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, c.err) << c.name;
    }
}

TEST_F(CliTool, RunDumpShowsMachineState) {
    const TCliResult r =
        Cli({"run", Image({{0x10, {0x20, 0x00, 0x11, 0x18, 0xB1, 0x10, 0xC0, 0x00, 0x05, 0x41}}}),
             "--pc", "10", "--dump"});
    EXPECT_EQ(r.status, ExitOk);
    const std::string expectedStart =
        "status: halted\nsteps: 4\npc: 18\nir: C000\n"
        "registers: 00 05 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
        "memory 00: 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
        "memory 10: 20 00 11 18 B1 10 C0 00 05 41 00 00 00 00 00 00\n";
    EXPECT_EQ(r.err.substr(0, expectedStart.size()), expectedStart);
    EXPECT_NE(r.err.find("memory F0: 00"), std::string::npos);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 4 + 1 + 16);
}

TEST_F(CliTool, DisassemblePrintsTheListingWithCrLf) {
    const TCliResult r = Cli({"disassemble", Image({{0, {0x12, 0x34}}})});
    EXPECT_EQ(r.status, ExitOk);
    const std::string ditto = std::string(14, ' ') + "\"\r\n";
    EXPECT_EQ(r.out,
              "00:  12,34  load  R2,[34]    ;...\r\n02:  00,00  invalid\r\n" + ditto + ditto);
    const TCliResult odd = Cli({"disassemble", Image({{1, {0xC0, 0x00}}}), "--pc", "0B"});
    EXPECT_EQ(odd.out.rfind("01:  C0,00  halt             ;...\r\n", 0), 0u);
}

TEST_F(CliTool, BadArgumentsGiveOneLineAndExitOne) {
    const std::string image = Image({});
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"run"},
        {"run", image, "--pc"},
        {"run", image, "--pc", "100"},
        {"run", image, "--pc", "G1"},
        {"run", image, "--max-steps", "-4"},
        {"run", image, "--verbose"},
        {"run", "-", "-"},
        {"assemble", image, image, "-o", image + "2"},
        {"run", image, image, "--trace", image + ".tsv"},
        {"disassemble", image, "--dump"},
        {"run", (dir_ / "missing.prg").string()},
    };
    for (const auto& args : cases) {
        const TCliResult r = Cli(args);
        EXPECT_EQ(r.status, ExitError) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(r.err.empty());
        EXPECT_TRUE(r.out.empty());
    }
}

TEST_F(CliTool, HelpForToolAndEachCommand) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"run", "--help"}, {"disassemble", "--help"}}) {
        const TCliResult r = Cli(args);
        EXPECT_EQ(r.status, ExitOk);
        EXPECT_NE(r.out.find("usage: quarzel-cli"), std::string::npos);
    }
}

TEST_F(CliTool, VersionIsTheProjectVersionOnOneLine) {
    const TCliResult r = Cli({"--version"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.out, VersionLine("quarzel-cli") + "\n");
    EXPECT_EQ(r.out.find("quarzel-cli " QUARZEL_FILE_VERSION), 0u);
    EXPECT_TRUE(r.err.empty());
    // Only the tool takes it; after a command it is an unknown option.
    EXPECT_EQ(Cli({"run", Image({}), "--version"}).status, ExitError);
}

}  // namespace
