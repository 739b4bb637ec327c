#pragma once
// A test file as the page holds it: parsed once from its text, refused whole when it has
// mistakes (as the tool refuses it), then run on programs handed over as file bytes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grading/testfile.h"
#include "grading/testreport.h"
#include "web/module/assembly.h"

class TWebMachine;

class TWebTests {
public:
    TWebTests(std::string_view text, std::string name);

    bool Ok() const { return file_.has_value(); }
    const std::vector<TDiagnostic>& Mistakes() const { return mistakes_; }
    const std::vector<std::string>& MistakeLines() const { return mistakeLines_; }
    const std::vector<TTestCase>& Tests() const;
    const std::optional<std::string>& Program() const;

    // The report of the tests on one program (a name ending in .asm is a source); "" when
    // the file was refused.
    std::string Report(const std::string& programName, std::string_view program,
                       TReportFormat format) const;
    // Loads the program with test index's starting state; the errors when the program does
    // not load (nothing changes then, nor for an index outside the file).
    std::vector<std::string> LoadStart(TWebMachine& machine, int index,
                                       const std::string& programName,
                                       std::string_view program) const;

private:
    std::string name_;
    std::optional<TTestFile> file_;
    std::vector<TDiagnostic> mistakes_;
    std::vector<std::string> mistakeLines_;
};
