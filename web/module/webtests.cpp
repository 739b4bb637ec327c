#include "web/module/webtests.h"

#include "grading/submission.h"
#include "web/module/webmachine.h"

namespace {

const TTestFile RefusedFile;

}  // namespace

TWebTests::TWebTests(std::string_view text, std::string name) : name_(std::move(name)) {
    try {
        file_ = ParseTestFile(text, name_);
    } catch (const ETestFileError& e) {
        mistakeLines_ = e.Lines();
        for (std::size_t i = 0; i < e.Mistakes().size(); ++i) {
            const TTestFileMistake& m = e.Mistakes()[i];
            mistakes_.push_back({m.Line - 1, m.Column - 1, m.Message, mistakeLines_[i]});
        }
    }
}

const std::vector<TTestCase>& TWebTests::Tests() const {
    return (file_ ? *file_ : RefusedFile).Tests;
}

const std::optional<std::string>& TWebTests::Program() const {
    return (file_ ? *file_ : RefusedFile).Program;
}

std::string TWebTests::Report(const std::string& programName, std::string_view program,
                              TReportFormat format) const {
    if (!file_) return {};
    TTestReport report;
    report.TestsFile = name_;
    report.Programs.push_back(
        GradeLoadedProgram(*file_, programName, LoadProgramBytes(programName, program)));
    return FormatReport(report, format);
}

std::vector<std::string> TWebTests::LoadStart(TWebMachine& machine, int index,
                                              const std::string& programName,
                                              std::string_view program) const {
    if (index < 0 || index >= static_cast<int>(Tests().size())) return {};
    TLoadedProgram loaded = LoadProgramBytes(programName, program);
    if (!loaded.Image) return loaded.Errors;
    machine.LoadStart(StartState(Tests()[static_cast<std::size_t>(index)], *loaded.Image));
    return {};
}
