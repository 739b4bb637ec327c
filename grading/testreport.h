#pragma once
// The results of a test file's tests on one or more programs, and the forms in which the
// command-line tool's test command writes them: text for people, JSON for scripts, JUnit
// XML for continuous-integration services, and the results.json of Gradescope's
// autograder and of PrairieLearn's external grader.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grading/submission.h"
#include "grading/testrun.h"

struct TProgramReport {
    std::string Program;     // the path as named
    bool Assembled = false;  // whether it was read (and assembled): false, it could not run
    std::vector<std::string> Errors;     // why it did not load, one message each
    std::optional<std::string> Skipped;  // why a folder's entry was not graded at all
    std::vector<TTestResult> Tests;
    long long MaxPoints = 0;  // 64 bits: a file may hold thousands of tests of a million points
    double Seconds = 0;       // loading the program and running its tests

    int Passed() const;
    long long Points() const;
    bool AllPassed() const { return Assembled && Passed() == static_cast<int>(Tests.size()); }
};

// "3 of 4 tests passed, 4 of 6 points"
std::string Summary(const TProgramReport& p);

struct TTestReport {
    std::string TestsFile;
    std::vector<TProgramReport> Programs;

    bool AllPassed() const;
};

// Loads the program (assembling a source) and runs every test of file on it; a program
// that does not load fails every test.
TProgramReport GradeProgram(const TTestFile& file, const std::string& program);
// The same for a program loaded already; name is the path it is reported under.
TProgramReport GradeLoadedProgram(const TTestFile& file, const std::string& name,
                                  TLoadedProgram loaded);

// A folder's entry that was skipped: it fails every test, which was not run.
TProgramReport SkippedProgram(const TTestFile& file, const TSkippedFile& skipped);

enum class TReportFormat { Text, Json, Junit, Gradescope, PrairieLearn };

// The name --format takes; "" for a value that is no format, so that the formats can be
// counted from 0 (ReportFormats).
std::string_view ReportFormatName(TReportFormat format);
// Every format, in the order of the enumeration: for what must treat each one alike.
std::vector<TReportFormat> ReportFormats();

// Gradescope's and PrairieLearn's results are about one submission: report.Programs must
// hold exactly one program for them.
bool OneProgramFormat(TReportFormat format);

// Names are written so that none can be taken for another (see EscapeName). The text and
// the formats students see (text, JUnit, Gradescope, PrairieLearn) show of a hidden test
// only its name and whether it passed; JSON, for the teacher's scripts, shows everything.
std::string FormatReport(const TTestReport& report, TReportFormat format);
