// The tool among other Unix tools: "-" for standard input and output, "--" and
// "--option=value", several files, -q, file errors that say why, and help in columns.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <streambuf>

#include "cli/cli.h"
#include "cli/stdstream.h"
#include "core/memfile.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Hi = "load RF,48h\nhalt\n";  // outputs "H", halts after 2 steps

// A stream that never ends: every byte is fill.
class TEndlessBuffer final : public std::streambuf {
public:
    explicit TEndlessBuffer(char fill) : block_(4096, fill) {}
    std::size_t Given() const { return given_; }

protected:
    int_type underflow() override {
        given_ += block_.size();
        setg(block_.data(), block_.data(), block_.data() + block_.size());
        return traits_type::to_int_type(block_[0]);
    }

private:
    std::string block_;
    std::size_t given_ = 0;
};

struct TResult {
    int status;
    std::string out, err;
};

class CliUnix : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_cli_unix_"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string File(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }
    static TResult Cli(const std::vector<std::string>& args, const std::string& input = "") {
        std::istringstream in(input);
        return Cli(args, in);
    }
    static TResult Cli(const std::vector<std::string>& args, std::istream& in) {
        std::ostringstream out, err;
        const int status = RunCli(args, in, out, err);
        return {status, out.str(), err.str()};
    }
    fs::path dir_;
};

TEST_F(CliUnix, FileErrorsSayWhyAsUnixToolsDo) {
    const std::string source = File("hi.asm", Hi);
    fs::create_directory(Path("folder.asm"));
    fs::create_symlink("loop.prg", Path("loop.prg"));
    std::string badValue = MemoryImageBytes(TMemoryImage{});
    badValue[4 * 0x12 + 1] = 1;  // 256 at address 12
    const struct {
        std::vector<std::string> args;
        std::string file, reason;
    } cases[] = {
        {{"run", Path("none.asm")}, Path("none.asm"), "No such file or directory"},
        {{"disassemble", Path("folder.asm")}, Path("folder.asm"), "Is a directory"},
        {{"assemble", source + "/x.asm"}, source + "/x.asm", "Not a directory"},
        {{"run", Path("loop.prg")}, Path("loop.prg"), "Too many levels of symbolic links"},
        {{"run", File("short.prg", std::string(1000, '\0'))},
         Path("short.prg"),
         "1000 bytes, a memory image has 1024"},
        {{"run", File("value.prg", badValue)},
         Path("value.prg"),
         "holds the value 256 at address 12, which is not a byte (0..255)"},
        {{"test", Path("none.toml"), source}, Path("none.toml"), "No such file or directory"},
    };
    for (const auto& c : cases) {
        const TResult r = Cli(c.args);
        EXPECT_EQ(r.status, ExitError) << c.reason;
        EXPECT_EQ(r.err, "quarzel-cli: " + c.file + ": " + c.reason + "\n");
    }
    const TResult piped = Cli({"run", "-"}, std::string(1000, '\0'));
    EXPECT_EQ(piped.err, "quarzel-cli: <stdin>: 1000 bytes, a memory image has 1024\n");
}

TEST_F(CliUnix, StandardInputIsASourceOrAnImage) {
    TMemoryImage image{};
    image[0] = 0x2F, image[1] = 0x48, image[2] = 0xC0;
    const struct {
        const char* name;
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out, err;
    } cases[] = {
        {"source", {"run", "-"}, Hi, ExitOk, "H", "status: halted\nsteps: 2\n"},
        {"image", {"run", "-"}, MemoryImageBytes(image), ExitOk, "H", "status: halted\nsteps: 2\n"},
        {"errors name <stdin>", {"run", "-"}, "halt\nfrob\n", ExitError, "", "<stdin>:2:5: "},
        {"assemble needs -o", {"assemble", "-"}, Hi, ExitError, "", "quarzel-cli assemble: name"},
        {"assemble to standard output",
         {"assemble", "-", "-o", "-"},
         Hi,
         ExitOk,
         MemoryImageBytes(image),
         ""},
    };
    for (const auto& c : cases) {
        const TResult r = Cli(c.args, c.input);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.name << ": " << r.err;
    }
}

// A hostile stream is read no further than a program can use: a stream that looks like an
// image ends at 1024 bytes, anything else at the largest source.
TEST_F(CliUnix, StandardInputIsReadWithinBounds) {
    TEndlessBuffer zeros('\0');
    std::istream endless(&zeros);
    const TResult r = Cli({"run", "-"}, endless);
    EXPECT_EQ(r.status, ExitInvalid);
    EXPECT_LE(zeros.Given(), 2 * MemoryImageFileSize + 4096);

    for (const std::size_t limit : {std::size_t{0}, std::size_t{1}, std::size_t{100'000}}) {
        TEndlessBuffer letters('a');
        std::istream stream(&letters);
        EXPECT_EQ(ReadStandardInput(stream, limit), std::string(limit, 'a'));
    }
}

TEST_F(CliUnix, TestFileAndProgramFromStandardInput) {
    const std::string tests =
        File("t.tests.toml", "[[test]]\nname = \"says H\"\nexpect.output = \"H\"\n");
    const std::string program = File("hi.asm", Hi);
    const std::string fromFiles = Cli({"test", tests, program}).out;
    std::ifstream testsFile(tests);
    std::stringstream text;
    text << testsFile.rdbuf();

    const TResult testsPiped = Cli({"test", "-", program}, text.str());
    EXPECT_EQ(testsPiped.status, ExitOk) << testsPiped.err;
    EXPECT_EQ(testsPiped.out.find("says H"), fromFiles.find("says H"));
    const TResult programPiped = Cli({"test", tests, "-", "-o", "-"}, Hi);
    EXPECT_EQ(programPiped.status, ExitOk) << programPiped.err;
    EXPECT_NE(programPiped.out.find("<stdin>"), std::string::npos);
}

TEST_F(CliUnix, OptionsTakeEitherFormAndDoubleDashEndsThem) {
    const std::string program = File("-hi.asm", Hi);
    const std::string relative = "-hi.asm";
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"run", "--max-steps=1", "--pc=00", "--", relative},
         ExitLimit,
         "status: limit\nsteps: 1\n"},
        {{"run", "--quiet", program}, ExitOk, ""},
        {{"run", "-q", "--max-steps=1", program}, ExitLimit, ""},
        {{"run", relative}, ExitError, "quarzel-cli run: unknown option -hi.asm"},
        {{"run", "--dump=yes", program},
         ExitError,
         "quarzel-cli run: option --dump takes no value"},
        {{"run", "--max-steps=", program}, ExitError, "quarzel-cli run: --max-steps takes"},
        {{"run", "--", "--help"}, ExitError, "quarzel-cli: --help: No such file or directory"},
        {{"assemble", "--output=" + Path("o.prg"), program}, ExitOk, ""},
    };
    for (const auto& c : cases) {
        const TResult r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1];
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << c.args[1];
    }
    fs::current_path(before);
    EXPECT_TRUE(fs::exists(Path("o.prg")));
}

TEST_F(CliUnix, SeveralFilesAreEachWorkedOn) {
    const std::string a = File("a.asm", Hi);
    const std::string b = File("b.asm", "halt\n");
    const std::string missing = Path("none.asm");

    const TResult run = Cli({"run", a, b});
    EXPECT_EQ(run.status, ExitOk);
    EXPECT_EQ(run.out, "==> " + a + " <==\nH\n==> " + b + " <==\n");
    EXPECT_EQ(run.err, "status: halted\nsteps: 2\nstatus: halted\nsteps: 1\n");

    const TResult listed = Cli({"disassemble", a, b});
    const std::string alone = Cli({"disassemble", b}).out;
    EXPECT_EQ(listed.out.substr(listed.out.size() - alone.size()), alone);
    EXPECT_EQ(listed.out.find("\r\n==> " + b + " <==\r\n"),
              listed.out.size() - alone.size() - b.size() - 12);

    // One file's error does not stop the rest; the status is the first failure's.
    const TResult some = Cli({"assemble", a, missing, b});
    EXPECT_EQ(some.status, ExitError);
    EXPECT_TRUE(fs::exists(Path("a.prg")) && fs::exists(Path("b.prg")));
    EXPECT_EQ(Cli({"run", File("loop.asm", "l: jmp l\n"), missing, a, "--max-steps", "9"}).status,
              ExitLimit);
}

// Each help text's descriptions start in one column, whatever the option's length.
TEST_F(CliUnix, HelpIsInColumns) {
    for (const char* command : {"", "assemble", "disassemble", "run", "test"}) {
        const std::vector<std::string> args =
            *command ? std::vector<std::string>{command, "--help"} : std::vector<std::string>{"-h"};
        std::istringstream help(Cli(args).out);
        std::set<std::size_t> columns;
        for (std::string line; std::getline(help, line);) {
            // A line of the table: a name, then its description; or a description's
            // continuation alone.
            const std::size_t name = line.find_first_not_of(' ');
            if (name == 0 || name == std::string::npos) continue;
            const std::size_t gap = name >= 8 ? 0 : line.find("  ", name);
            ASSERT_NE(gap, std::string::npos) << line;
            columns.insert(line.find_first_not_of(' ', gap));
        }
        EXPECT_EQ(columns.size(), 1u) << command;
        EXPECT_GT(*columns.begin(), 8u) << command;
    }
}

}  // namespace
