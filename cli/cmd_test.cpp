#include <algorithm>
#include <filesystem>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "core/outputfile.h"
#include "grading/reporttext.h"
#include "grading/submission.h"
#include "grading/testreport.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Help =
    "usage: quarzel-cli test TESTS.toml [PROGRAM|FOLDER ...] [--test NAME ...]\n"
    "           [--format text|json|junit|gradescope|prairielearn] [-o REPORT]\n"
    "Runs every test of the test file on each program (.asm sources are assembled\n"
    "first, .prg images are loaded) and reports which passed. A folder stands for\n"
    "its .asm and .prg files, sorted by name; an entry with such a name that is no\n"
    "regular file (a pipe, a device, a link to nothing, ...) is reported as skipped,\n"
    "with the reason. With no program named, the test file's 'program' is tested.\n"
    "--test NAME (repeatable) runs only the tests named, and the exit status tells\n"
    "of them alone. The report goes to standard output, or with -o to REPORT:\n"
    "  text          a line a program, then what each failed test found\n"
    "  json          everything, hidden tests included, for the teacher's scripts\n"
    "  junit         JUnit XML: <failure> for a failed expectation, <error> for a\n"
    "                program that could not run, points in <properties>\n"
    "  gradescope    Gradescope's results.json, for one program\n"
    "  prairielearn  PrairieLearn's results.json, for one program; one that cannot\n"
    "                be read or assembled is not gradable and costs no attempt\n"
    "Every format but json shows of a test with 'hidden = true' only its name and\n"
    "whether it passed (Gradescope: only once the grades are published). Names are\n"
    "written with control characters, backslashes and bytes that are not UTF-8\n"
    "escaped (\\n, \\\\, \\xFF), so no two read alike.\n"
    "With 'fill = \"random\"' a test starts the registers and the memory cells that\n"
    "neither the program nor the test sets with random bytes, the same for the same\n"
    "'seed' (else one made from the test's name); an assembled source sets the bytes\n"
    "its lines place, a .prg image every cell. A failure then names the seed.\n"
    "With 'warnings = \"fail\"' a program the assembler warns about fails every test\n"
    "unrun, its warnings given as the reason.\n"
    "A test file with any mistake is refused whole, each mistake reported as\n"
    "TESTS.toml:LINE:COLUMN: MESSAGE. A test keeps the first 1,000 bytes a program\n"
    "outputs and counts the rest; -o also writes to a device such as /dev/null, and\n"
    "never over the test file or a program.\n"
    "Exit status: 0 every test passed, 4 a test failed, a program could not be read\n"
    "or assembled or a file was skipped, 1 a usage, file or test-file error.\n";

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
    const TArgs parsed(args, {{"--format", "-o", "--test"}, {}, 1, true});
    const TReportFormat format = Format(parsed.Value("--format"));
    const std::string& testsPath = parsed.Positionals()[0];

    TTestFile file;
    try {
        file = ReadTestFile(testsPath);
    } catch (const ETestFileError& e) {
        for (const std::string& line : e.Lines()) err << line << '\n';
        return ExitError;
    }
    if (const auto unknown = KeepOnlyTests(file, parsed.Values("--test")))
        throw EUsageError("--test: no test named '" + EscapeName(*unknown) + "' in " + testsPath);
    std::vector<std::string> programs;
    std::vector<TSkippedFile> skipped;
    for (auto it = parsed.Positionals().begin() + 1; it != parsed.Positionals().end(); ++it) {
        if (OneProgramFormat(format) && fs::is_directory(*it))
            throw EUsageError("--format " + *parsed.Value("--format") +
                              " reports on one program: name its file, not the folder " + *it);
        AddPrograms(*it, programs, skipped);
    }
    if (parsed.Positionals().size() == 1) {
        const auto program = ProgramPath(file);
        if (!program) {
            err << testsPath << ":1:1: no program to test: name one, or give the file a "
                << "'program' key\n";
            return ExitError;
        }
        AddPrograms(*program, programs, skipped);
    }
    if (OneProgramFormat(format) && programs.size() + skipped.size() != 1)
        throw EUsageError("--format " + *parsed.Value("--format") +
                          " reports on one program, not " +
                          std::to_string(programs.size() + skipped.size()));
    const auto reportPath = parsed.Value("-o");
    if (reportPath) CheckReportPath(*reportPath, testsPath, programs);

    TTestReport report;
    report.TestsFile = testsPath;
    for (const std::string& program : programs)
        report.Programs.push_back(GradeProgram(file, program));
    for (const TSkippedFile& entry : skipped)
        report.Programs.push_back(SkippedProgram(file, entry));
    const std::string text = FormatReport(report, format);
    if (reportPath)
        WriteOutputFile(*reportPath, text);
    else
        out << text;
    return report.AllPassed() ? ExitOk : ExitTestsFailed;
}
