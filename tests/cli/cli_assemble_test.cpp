#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "core/memfile.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

struct TResult {
    int status;
    std::string out, err;
};

class CliAssemble : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_cli_asm_"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string File(const std::string& name, const std::string& bytes) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static TResult Cli(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const int status = RunCli(args, out, err);
        return {status, out.str(), err.str()};
    }
    fs::path dir_;
};

TEST_F(CliAssemble, WritesTheImageBesideTheSourceOrWhereToldWithO) {
    const std::string source =
        File("prog.asm", "org 10h\r\nload R1,[data]\r\nhalt\r\ndata: db 5\r\n");
    TMemoryImage expected{};
    expected[0x10] = 0x11, expected[0x11] = 0x14, expected[0x12] = 0xC0, expected[0x14] = 5;

    const TResult byDefault = Cli({"assemble", source});
    EXPECT_EQ(byDefault.status, ExitOk);
    EXPECT_EQ(byDefault.err, "");
    EXPECT_EQ(ReadMemoryFile((dir_ / "prog.prg").string()), expected);

    const std::string named = (dir_ / "other.bin").string();
    const TResult withO = Cli({"assemble", source, "-o", named});
    EXPECT_EQ(withO.status, ExitOk);
    EXPECT_EQ(ReadMemoryFile(named), expected);
}

TEST_F(CliAssemble, ErrorsAreListedOneBasedAndNothingIsWritten) {
    const std::string source = File("bad.asm", "x: 12\nhalt 1\n\nmove R1\njmp nowhere\n");
    const std::string image = File("bad.prg", "old image");
    const TResult r = Cli({"assemble", source});
    EXPECT_EQ(r.status, ExitError);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, source + ":1:4: Unknown identifier. Expected: mnemonic, nothing\n" + source +
                         ":2:6: Extra characters on line. Expected: nothing\n" + source +
                         ":4:8: Unexpected end of line. Expected: ','\n" + source +
                         ":4:8: Unexpected end of line. Expected: register\n" + source +
                         ":5:12: Label is not defined: nowhere\n");
    EXPECT_EQ(Contents(image), "old image");

    const std::string named = (dir_ / "never.prg").string();
    EXPECT_EQ(Cli({"assemble", source, "-o", named}).status, ExitError);
    EXPECT_FALSE(fs::exists(named));
}

TEST_F(CliAssemble, RunAndDisassembleTakeSources) {
    const std::string source = File("hi.ASM", "load RF,48h\nload RF,69h\nhalt\n");
    const TResult run = Cli({"run", source});
    EXPECT_EQ(run.status, ExitOk);
    EXPECT_EQ(run.out, "Hi");
    EXPECT_EQ(run.err, "status: halted\nsteps: 3\n");

    const TResult listing = Cli({"disassemble", source});
    EXPECT_EQ(listing.status, ExitOk);
    EXPECT_EQ(listing.out.substr(0, 47), "00:  2F,48  load  RF,48      ;... ($48=72)\r\n02:");

    const std::string bad = File("bad.asm", "halt\nload R1,[R2\n");
    for (const char* command : {"run", "disassemble"}) {
        const TResult r = Cli({command, bad});
        EXPECT_EQ(r.status, ExitError) << command;
        EXPECT_EQ(r.out, "") << command;
        EXPECT_EQ(r.err, bad + ":2:12: Unexpected end of line. Expected: ']'\n") << command;
    }
}

TEST_F(CliAssemble, WarningsAndNotesGoToStandardErrorAndChangeNothingElse) {
    const std::string address = File("address.asm", "load R1,count\nhalt\ncount: db 5\n");
    const std::string warned =
        address +
        ":1:9: warning: loads the address of count (04), not its value: did you "
        "mean load R1,[count]?\n";
    const std::string data = File("data.asm", "load R1,1\ndb 0C0h,0\n");
    // Its halt is data, so it never stops as far as the assembler can tell.
    const std::string intoData = data +
                                 ":1:1: warning: runs straight into the data at 02 (db "
                                 "on line 2): is a halt or jmp missing?\n" +
                                 data +
                                 ":1:1: warning: the program never stops: there is no "
                                 "halt and no jump to itself\n";
    const std::string halted = "status: halted\nsteps: 2\n";
    const std::string note = "note: executing data at 02: db placed these bytes (line 2)\n";
    const struct {
        std::vector<std::string> args;
        std::string err;
    } cases[] = {
        {{"assemble", address}, warned},
        {{"assemble", address, "--no-warnings"}, ""},
        {{"run", address}, warned + halted},
        {{"run", address, "--no-warnings"}, halted},
        {{"run", data, "--warnings"}, intoData + note + halted},
        {{"run", data, "--no-warnings", "--warnings"}, note + halted},
        {{"disassemble", address}, ""},
    };
    for (const auto& c : cases) {
        const TResult r = Cli(c.args);
        EXPECT_EQ(r.status, ExitOk) << c.args[0] << ' ' << c.args.back();
        EXPECT_EQ(r.err, c.err) << c.args[0] << ' ' << c.args.back();
    }
    TMemoryImage expected{};
    expected[0] = 0x21, expected[1] = 0x04, expected[2] = 0xC0, expected[4] = 5;
    EXPECT_EQ(ReadMemoryFile((dir_ / "address.prg").string()), expected);
}

TEST_F(CliAssemble, TheExampleProgramGreets) {
    const TResult r = Cli({"run", QUARZEL_EXAMPLES "/hello.asm"});
    EXPECT_EQ(r.status, ExitOk);
    EXPECT_EQ(r.out, "Hello, world!\n");
}

TEST_F(CliAssemble, SourcesAreUtf8OrTakenByteForByte) {
    const struct {
        const char* name;
        std::string text;
        int byte;
    } cases[] = {
        {"utf8.asm", "db \"Ü\" ; U+00DC", 0x9A},
        {"bom.asm",
         "\xEF\xBB\xBF"
         "db '½'",
         0xAB},
        {"latin1.asm", "db '\xDC' ; not UTF-8", 0xDC},
    };
    for (const auto& c : cases) {
        const std::string image = (dir_ / "out.prg").string();
        ASSERT_EQ(Cli({"assemble", File(c.name, c.text), "-o", image}).status, ExitOk) << c.name;
        TMemoryImage expected{};
        expected[0] = c.byte;
        EXPECT_EQ(ReadMemoryFile(image), expected) << c.name;
    }
}

TEST_F(CliAssemble, RefusesWhatItCannotDo) {
    const std::string source = File("src.prg", "halt\n");
    const TResult overwrite = Cli({"assemble", source});
    EXPECT_EQ(overwrite.status, ExitError);
    EXPECT_NE(overwrite.err.find("would overwrite the source"), std::string::npos);
    EXPECT_EQ(Contents(source), "halt\n");
    EXPECT_EQ(Cli({"assemble", source, "-o", source}).status, ExitError);
    EXPECT_EQ(Contents(source), "halt\n");

    const std::string missing = (dir_ / "missing.asm").string();
    const TResult gone = Cli({"assemble", missing});
    EXPECT_EQ(gone.status, ExitError);
    EXPECT_EQ(gone.err, "quarzel-cli: " + missing + ": No such file or directory\n");

    const std::string huge = File("huge.asm", "");
    fs::resize_file(huge, (256u << 20) + 1);  // sparse: costs no disk space
    EXPECT_EQ(Cli({"assemble", huge}).err,
              "quarzel-cli: " + huge + ": larger than 256 MiB, the most a source may have\n");
    EXPECT_FALSE(fs::exists(dir_ / "huge.prg"));

    for (const std::vector<std::string>& args : {std::vector<std::string>{"assemble"},
                                                 {"assemble", source, "-o"},
                                                 {"assemble", source, "--pc", "1"}}) {
        const TResult r = Cli(args);
        EXPECT_EQ(r.status, ExitError);
        EXPECT_NE(r.err.find("(try --help)"), std::string::npos);
    }
    const TResult help = Cli({"assemble", "--help"});
    EXPECT_EQ(help.status, ExitOk);
    EXPECT_EQ(help.out.find("usage: quarzel-cli assemble [OPTION]... SOURCE.asm..."), 0u);
}

}  // namespace
