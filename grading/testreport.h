#pragma once
// The results of a test file's tests on one or more programs, and the three forms in which
// the command-line tool's test command writes them: text for people, JSON for scripts,
// JUnit XML for continuous-integration and grading services.

#include <string>
#include <vector>

#include "grading/submission.h"
#include "grading/testrun.h"

struct TProgramReport {
    std::string Program;  // the path as named
    bool Assembled = false;
    std::vector<std::string> Errors;  // why it did not load, one message each
    std::vector<TTestResult> Tests;
    long long MaxPoints = 0;  // 64 bits: a file may hold thousands of tests of a million points

    int Passed() const;
    long long Points() const;
    bool AllPassed() const { return Assembled && Passed() == static_cast<int>(Tests.size()); }
};

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

enum class TReportFormat { Text, Json, Junit };

std::string FormatReport(const TTestReport& report, TReportFormat format);
