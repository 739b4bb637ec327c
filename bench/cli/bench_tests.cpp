// Grading a class: 'quarzel-cli test' on a folder of 1,000 submitted sources with a test
// file of 4 tests, in every report format, written with -o. The time covers everything the
// command does: reading the test file, listing the folder, reading and assembling each
// source, running the tests, building and writing the report. One thread; the figure is
// the best of three runs (wall clock).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli.h"
#include "grading/testreport.h"

namespace fs = std::filesystem;

namespace {

constexpr int Programs = 1000;

// The bit-counting exercise; every 10th submission masks the wrong bit, every 50th does
// not assemble, and each differs in its comments so no two sources are alike.
std::string Submission(int i) {
    const bool broken = i % 50 == 49;
    const bool wrong = i % 10 == 9;
    std::string s = "; submission " + std::to_string(i) + "\n";
    s += "        load R0,0\n        load R2,8\n";
    s += wrong ? "        load R4,2\n" : "        load R4,1\n";
    s += "        load R6,-1\n        load R3,0\n";
    s += "loop:   jmpEQ R2=R0,done   ; " + std::to_string(i * 7) + "\n";
    s += broken ? "        and R5,R1\n" : "        and R5,R1,R4\n";
    s += "        addi R3,R3,R5\n        ror R1,1\n        addi R2,R2,R6\n";
    s += "        jmp loop\ndone:   halt\n";
    return s;
}

constexpr const char* Tests = R"([[test]]
name = "none"
expect = { status = "halted", registers = { R3 = 0 } }
[[test]]
name = "all"
registers = { R1 = 0xFF }
expect = { status = "halted", registers = { R3 = 8, R1 = 0xFF } }
[[test]]
name = "A5"
points = 2
registers = { R1 = 0xA5 }
expect.registers = { R3 = 4, R1 = 0xA5 }
[[test]]
name = "81"
registers = { R1 = 0x81 }
expect = { registers = { R3 = 2 }, pc = 0x18 }
)";

}  // namespace

int main() {
    const fs::path dir = fs::temp_directory_path() / "quarzel_bench_tests";
    fs::remove_all(dir);
    fs::create_directories(dir / "class");
    std::ofstream(dir / "bits.tests.toml") << Tests;
    for (int i = 0; i < Programs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "student%04d.asm", i);
        std::ofstream(dir / "class" / name) << Submission(i);
    }
    std::printf("%d programs x 4 tests, report written with -o:\n", Programs);
    for (const TReportFormat reportFormat : ReportFormats()) {
        const std::string format(ReportFormatName(reportFormat));
        double best = 1e9;
        int status = -1;
        // A service's format reports on one submission: it grades them one by one.
        std::vector<std::string> runs;
        if (OneProgramFormat(reportFormat))
            for (const auto& entry : fs::directory_iterator(dir / "class"))
                runs.push_back(entry.path().string());
        else
            runs.push_back((dir / "class").string());
        for (int run = 0; run < 3; ++run) {
            std::ostringstream out, err;
            const auto start = std::chrono::steady_clock::now();
            for (const std::string& programs : runs)
                status = RunCli({"test", (dir / "bits.tests.toml").string(), programs, "--format",
                                 format, "-o", (dir / "report").string()},
                                out, err);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
        std::printf("  %-12s %.3f s (exit %d, report %ju bytes)\n", format.c_str(), best, status,
                    static_cast<std::uintmax_t>(fs::file_size(dir / "report")));
    }
    fs::remove_all(dir);
    return 0;
}
