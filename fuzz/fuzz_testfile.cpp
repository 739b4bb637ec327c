// Reads any bytes as a test file and checks what comes out: a refusal lists its first
// mistakes at positions in the text; an accepted file's tests run on a program that writes
// in a loop and on one that did not assemble, and every report format is written, a JSON
// one (any format whose text starts with '{') being valid JSON.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "core/memfile.h"
#include "fuzz/fuzz_check.h"
#include "grading/testreport.h"

namespace {

// Enough steps to write more output than a test keeps, few enough to stay quick.
constexpr long long MaxSteps = 2500;

namespace fs = std::filesystem;

// The two programs, written once into a folder of this process's own, removed at exit.
struct TPrograms {
    TPrograms() {
        fs::create_directories(Dir);
        TMemoryImage spew{};  // load RF,41; jmp 00
        spew[0] = 0x2F, spew[1] = 0x41, spew[2] = 0xB0;
        WriteMemoryFile(Spew, spew);
        std::ofstream(Broken) << "addi R3,R1\n";
    }
    ~TPrograms() {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }
    const fs::path Dir =
        fs::temp_directory_path() / ("quarzel_fuzz_testfile_" + std::to_string(::getpid()));
    const std::string Spew = (Dir / "spew.prg").string(), Broken = (Dir / "broken.asm").string();
};

const TPrograms& Programs() {
    static const TPrograms programs;
    return programs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TTestFile file;
    try {
        file = ParseTestFile(text, "fuzz.tests.toml");
    } catch (const ETestFileError& e) {
        FUZZ_CHECK(!e.Mistakes().empty() && e.Mistakes().size() <= ETestFileError::MaxListed);
        const long long lines = std::count(text.begin(), text.end(), '\n') + 1;
        for (const TTestFileMistake& m : e.Mistakes())
            FUZZ_CHECK(m.Line >= 1 && m.Line <= lines && m.Column >= 1 && !m.Message.empty());
        return 0;
    }
    FUZZ_CHECK(!file.Tests.empty());
    for (TTestCase& test : file.Tests) test.MaxSteps = std::min(test.MaxSteps, MaxSteps);

    TTestReport report;
    report.TestsFile = file.Path;
    for (const std::string& program : {Programs().Spew, Programs().Broken})
        report.Programs.push_back(GradeProgram(file, program));
    for (const TTestResult& result : report.Programs[0].Tests) {
        FUZZ_CHECK(result.Passed == result.Failures.empty());
        FUZZ_CHECK(result.Output.size() <= ShownOutputBytes);
        FUZZ_CHECK(result.OutputBytes >= static_cast<long long>(result.Output.size()));
    }
    FUZZ_CHECK(!report.Programs[1].Assembled && report.Programs[1].Points() == 0);
    // The formats about one submission get each program on its own.
    std::vector<TTestReport> reports{report};
    for (const TProgramReport& program : report.Programs)
        reports.push_back({report.TestsFile, {program}});
    for (const TReportFormat format : ReportFormats()) {
        for (const TTestReport& r : reports) {
            if (OneProgramFormat(format) != (r.Programs.size() == 1)) continue;
            const std::string written = FormatReport(r, format);
            FUZZ_CHECK(!written.empty());
            if (written[0] == '{') FUZZ_CHECK(nlohmann::json::accept(written));
        }
    }
    return 0;
}
