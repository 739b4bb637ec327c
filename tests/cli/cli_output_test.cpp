// What the tool does with hostile files and with output that cannot be written.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>

#include "cli/cli.h"
#include "core/memfile.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

// A stream buffer whose every write fails, as on a full disk.
class TFailingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
};

class CliOutput : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = FreshTestDir("quarzel_cli_out_");
        TMemoryImage image{};
        image[0] = 0x2F, image[1] = 0x48, image[2] = 0xC0;  // load RF,48h; halt
        WriteMemoryFile(Image(), image);
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Image() const { return Path("hi.prg"); }

    // Runs the real tool with standard output on path, or closed when path is null; returns
    // the exit status and what went to standard error.
    std::pair<int, std::string> Spawn(const char* stdoutPath, std::vector<std::string> args) {
        const std::string errPath = Path("stderr.txt");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int errFd = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(errFd, 2);
            if (stdoutPath == nullptr) {
                ::close(1);
            } else {
                ::dup2(::open(stdoutPath, O_WRONLY), 1);
            }
            std::vector<char*> argv{const_cast<char*>(QUARZEL_CLI)};
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(QUARZEL_CLI, argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        std::ifstream in(errPath);
        std::stringstream err;
        err << in.rdbuf();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err.str()};
    }
    fs::path dir_;
};

TEST_F(CliOutput, OutputThatCannotBeWrittenIsAnError) {
    const struct {
        std::vector<std::string> args;
        bool failOut, failErr;
    } cases[] = {
        {{"disassemble", Image()}, true, false},
        {{"run", Image()}, true, false},
        {{"--help"}, true, false},
        {{"run", Image(), "--dump"}, false, true},
    };
    for (const auto& c : cases) {
        TFailingBuffer failing;
        std::ostringstream good, message;
        std::ostream bad(&failing);
        std::ostream& out = c.failOut ? bad : good;
        std::ostream& err = c.failErr ? bad : message;
        EXPECT_EQ(RunCli(c.args, out, err), ExitError) << c.args[0];
        if (c.failOut) {
            EXPECT_EQ(message.str().substr(message.str().rfind("quarzel-cli:")),
                      "quarzel-cli: standard output could not be written\n")
                << c.args[0];
        }
    }
}

TEST_F(CliOutput, FullOrClosedStandardOutputFailsTheProcess) {
    for (const char* where : {"/dev/full", static_cast<const char*>(nullptr)}) {
        for (const char* command : {"run", "disassemble"}) {
            const auto [status, err] = Spawn(where, {command, Image()});
            EXPECT_EQ(status, ExitError) << command << " to " << (where ? where : "closed");
            EXPECT_NE(err.find("standard output could not be written"), std::string::npos) << err;
        }
    }
    EXPECT_EQ(Spawn("/dev/null", {"run", Image()}).first, ExitOk);
}

TEST_F(CliOutput, MaxStepsTakesEveryCountOfASignedWord) {
    const struct {
        const char* text;
        int status;
    } cases[] = {
        {"9223372036854775807", ExitOk},
        {"0009223372036854775807", ExitOk},
        {"000", ExitLimit},
        {"1", ExitLimit},
        {"9223372036854775808", ExitError},
        {"18446744073709551617", ExitError},
        {"+5", ExitError},
        {"", ExitError},
        {"1 ", ExitError},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCli({"run", Image(), "--max-steps", c.text}, out, err), c.status) << c.text;
    }
}

// Special files as programs: refused at once by name, never read until memory runs out and
// never waited on.
TEST_F(CliOutput, SpecialFilesAreRefusedByName) {
    ASSERT_EQ(::mkfifo(Path("pipe.asm").c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(Path("pipe.prg").c_str(), 0666), 0);
    fs::create_symlink("/dev/zero", Path("zero.asm"));
    const struct {
        std::string path, kind;
    } cases[] = {
        {Path("pipe.asm"), "a pipe"},
        {Path("pipe.prg"), "a pipe"},
        {Path("zero.asm"), "a device"},
        {"/dev/zero", "a device"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCli({"run", c.path}, out, err), ExitError) << c.path;
        EXPECT_EQ(err.str(),
                  "quarzel-cli: " + c.path + ": Is " + c.kind + ", not a regular file\n");
    }
}

// assemble -o saves as every save does: through a link, and never over a read-only image.
TEST_F(CliOutput, AssembleOutputGoesThroughTheSafeWriter) {
    const std::string source = Path("p.asm");
    std::ofstream(source) << "halt\n";
    const std::string readOnly = Path("ro.prg");
    std::ofstream(readOnly) << "keep";
    ::chmod(readOnly.c_str(), 0444);
    fs::create_symlink("real.prg", Path("link.prg"));

    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"assemble", source, "-o", readOnly}, out, err), ExitError);
    EXPECT_EQ(err.str(), "quarzel-cli assemble: Cannot create file " + readOnly + "\n");
    EXPECT_EQ(fs::file_size(readOnly), 4u);
    EXPECT_EQ(RunCli({"assemble", source, "-o", Path("link.prg")}, out, err), ExitOk);
    EXPECT_TRUE(fs::is_symlink(Path("link.prg")));
    EXPECT_EQ(ReadMemoryFile(Path("real.prg"))[0], 0xC0);
    std::ostringstream full;
    EXPECT_EQ(RunCli({"assemble", source, "-o", "/dev/full"}, out, full), ExitError);
    EXPECT_EQ(full.str(), "quarzel-cli assemble: Cannot create file /dev/full\n");
}

}  // namespace
