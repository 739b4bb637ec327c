#include <algorithm>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "core/outputfile.h"
#include "grading/submission.h"
#include "grading/testreport.h"

namespace {

constexpr const char* Help =
    "usage: quarzel-cli test TESTS.toml [PROGRAM|FOLDER ...] [--format text|json|junit]\n"
    "                        [-o REPORT]\n"
    "Runs every test of the test file on each program (.asm sources are assembled\n"
    "first, .prg images are loaded) and reports which passed. A folder stands for\n"
    "its .asm and .prg files, sorted by name; with no program named, the test\n"
    "file's 'program' is tested. The report goes to standard output, or with -o to\n"
    "the file REPORT (or a device such as /dev/null), never over the test file or a\n"
    "program. A test file with any mistake is refused whole, each mistake reported\n"
    "as TESTS.toml:LINE:COLUMN: MESSAGE. A test keeps the first 1,000 bytes a\n"
    "program outputs and counts the rest.\n"
    "Exit status: 0 every test passed, 4 a test failed or a program did not\n"
    "assemble, 1 a usage, file or test-file error.\n";

TReportFormat Format(const std::optional<std::string>& name) {
    if (!name) return TReportFormat::Text;
    const std::vector<TReportFormat> formats = ReportFormats();
    std::string names;
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (*name == ReportFormatName(formats[i])) return formats[i];
        names += (i == 0                    ? ""
                  : i + 1 == formats.size() ? " or "
                                            : ", ") +
                 std::string(ReportFormatName(formats[i]));
    }
    throw EUsageError("--format takes " + names + ", not '" + *name + "'");
}

// The report must not replace the files it is about.
void CheckReportPath(const std::string& report, const std::string& tests,
                     const std::vector<std::string>& programs) {
    if (SameFile(report, tests))
        throw EUsageError("the report would overwrite the test file " + tests);
    for (const std::string& p : programs)
        if (SameFile(report, p)) throw EUsageError("the report would overwrite the program " + p);
}

}  // namespace

int TestCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Help;
        return ExitOk;
    }
    const TArgs parsed(args, {{"--format", "-o"}, {}, 1, true});
    const TReportFormat format = Format(parsed.Value("--format"));
    const std::string& testsPath = parsed.Positionals()[0];

    TTestFile file;
    try {
        file = ReadTestFile(testsPath);
    } catch (const ETestFileError& e) {
        for (const std::string& line : e.Lines()) err << line << '\n';
        return ExitError;
    }
    std::vector<std::string> programs;
    for (auto it = parsed.Positionals().begin() + 1; it != parsed.Positionals().end(); ++it)
        AddPrograms(*it, programs);
    if (parsed.Positionals().size() == 1) {
        const auto program = ProgramPath(file);
        if (!program) {
            err << testsPath << ":1:1: no program to test: name one, or give the file a "
                << "'program' key\n";
            return ExitError;
        }
        AddPrograms(*program, programs);
    }
    const auto reportPath = parsed.Value("-o");
    if (reportPath) CheckReportPath(*reportPath, testsPath, programs);

    TTestReport report;
    report.TestsFile = testsPath;
    for (const std::string& program : programs)
        report.Programs.push_back(GradeProgram(file, program));
    const std::string text = FormatReport(report, format);
    if (reportPath)
        WriteOutputFile(*reportPath, text);
    else
        out << text;
    return report.AllPassed() ? ExitOk : ExitTestsFailed;
}
