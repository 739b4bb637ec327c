#include <filesystem>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/eachfile.h"
#include "cli/program.h"
#include "cli/stdstream.h"
#include "core/outputfile.h"
#include "grading/reporttext.h"
#include "grading/submission.h"
#include "grading/testreport.h"

namespace fs = std::filesystem;

const char* const TestHelp =
    "usage: quarzel-cli test [OPTION]... TESTS.toml [PROGRAM|FOLDER]...\n"
    "Runs every test of the test file on each program (.asm sources are assembled\n"
    "first, .prg images are loaded) and reports which passed. A folder stands for\n"
    "its .asm and .prg files, sorted by name; an entry with such a name that is no\n"
    "regular file (a pipe, a device, a link to nothing, ...) is reported as skipped,\n"
    "with the reason. With no program named, the test file's 'program' is tested.\n"
    "\n"
    "options:\n"
    "  --test NAME           run only the tests named (repeatable); the exit status\n"
    "                        tells of them alone\n"
    "  --format FORMAT       the report's format (default text):\n"
    "    text                a line a program, then what each failed test found\n"
    "    json                everything, hidden tests included, for the teacher's\n"
    "                        scripts\n"
    "    junit               JUnit XML: <failure> for a failed expectation, <error>\n"
    "                        for a program that could not run, points in <properties>\n"
    "    gradescope          Gradescope's results.json, for one program\n"
    "    prairielearn        PrairieLearn's results.json, for one program; one that\n"
    "                        cannot be read or assembled is not gradable and costs no\n"
    "                        attempt\n"
    "  -o, --output REPORT   write the report to REPORT (a device such as /dev/null\n"
    "                        too; never the test file or a program) instead of\n"
    "                        standard output; - is standard output\n"
    "  -h, --help            print this help\n"
    "\n"
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
    "outputs and counts the rest.\n"
    "The test file or one program may be - for standard input (a program there is a\n"
    "memory image when its second to fourth bytes are 0, else a source). -- ends\n"
    "the options.\n"
    "Exit status: 0 every test passed, 4 a test failed, a program could not be read\n"
    "or assembled or a file was skipped, 1 a usage, file or test-file error.\n";

namespace {

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

// The test file named on the command line, or standard input for "-".
TTestFile ReadTests(const std::string& path, std::istream& in) {
    if (!IsStandardStream(path)) return ReadTestFile(path);
    return ReadTestFile(StandardInputName,
                        [&](std::size_t limit) { return ReadStandardInput(in, limit); });
}

// The program on standard input, graded under the name <stdin>.
TProgramReport GradeStandardInput(const TTestFile& file, std::istream& in) {
    const TStandardProgram program = ReadStandardProgram(in);
    return GradeLoadedProgram(file, StandardInputName,
                              LoadProgramBytes(StandardInputName, program.Bytes, program.Source));
}

}  // namespace

int TestCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
    const TArgs parsed(args, {{"--format", "-o", "--test"}, {}, 1, true});
    const TReportFormat format = Format(parsed.Value("--format"));
    CheckOneStandardInput(parsed.Positionals());
    const std::string testsPath = ShownName(parsed.Positionals()[0]);

    TTestFile file;
    try {
        file = ReadTests(parsed.Positionals()[0], in);
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
        if (IsStandardStream(*it))
            programs.push_back(*it);
        else
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
    if (reportPath) CheckReportPath(*reportPath, parsed.Positionals()[0], programs);

    TTestReport report;
    report.TestsFile = testsPath;
    for (const std::string& program : programs)
        report.Programs.push_back(IsStandardStream(program) ? GradeStandardInput(file, in)
                                                            : GradeProgram(file, program));
    for (const TSkippedFile& entry : skipped)
        report.Programs.push_back(SkippedProgram(file, entry));
    const std::string text = FormatReport(report, format);
    if (reportPath && !IsStandardStream(*reportPath))
        WriteOutputFile(*reportPath, text);
    else
        out << text;
    return report.AllPassed() ? ExitOk : ExitTestsFailed;
}
