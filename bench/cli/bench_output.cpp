// A test whose program writes output in a loop, against the same test without output:
// 'quarzel-cli test' on a program that runs for 10^8 steps writing a byte every second step
// (to RF, the output) or the same byte to RE (no output). A test keeps only the start of the
// output, so the two should take about the same time and the first no more memory. Each
// run is a process of its own, so that its peak memory (max RSS) is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "core/memfile.h"

namespace fs = std::filesystem;

namespace {

constexpr long long Steps = 100'000'000;

struct TFigures {
    double Seconds = 0;
    long PeakKiB = 0;
    int Status = -1;
};

// Runs the test command in a child process and measures it.
TFigures Measure(const std::vector<std::string>& args) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        std::ostringstream out, err;
        ::_exit(RunCli(args, out, err));
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {took.count(), usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "quarzel_bench_output";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "loop.tests.toml") << "[[test]]\nname = \"loop\"\nmax-steps = " << Steps
                                           << "\nexpect = { status = \"limit\", output = \"A\" }\n";
    std::printf("one test of %lld steps, a byte written every second step:\n", Steps);
    for (const int reg : {0xF, 0xE}) {
        TMemoryImage image{};  // load Rreg,41; jmp 00
        image[0] = 0x20 | reg, image[1] = 0x41, image[2] = 0xB0;
        const std::string program = (dir / (reg == 0xF ? "output.prg" : "quiet.prg")).string();
        WriteMemoryFile(program, image);
        double best = 1e9;
        TFigures figures;
        for (int run = 0; run < 3; ++run) {
            figures = Measure({"test", (dir / "loop.tests.toml").string(), program, "-o",
                               (dir / "report").string()});
            best = std::min(best, figures.Seconds);
        }
        std::printf("  %-18s %.2f s, peak memory %.1f MB (exit %d, report %ju bytes)\n",
                    reg == 0xF ? "to RF (output)" : "to RE (no output)", best,
                    figures.PeakKiB / 1024.0, figures.Status,
                    static_cast<std::uintmax_t>(fs::file_size(dir / "report")));
    }
    fs::remove_all(dir);
    return 0;
}
