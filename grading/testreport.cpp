#include "grading/testreport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlohmann/json.hpp>
#include <numeric>
#include <stdexcept>

#include "core/cp437.h"
#include "grading/reporttext.h"

namespace {

using TJson = nlohmann::ordered_json;

// Whether a student may see no more of a test than whether it passed: a hidden test that
// ran (why one did not run tells nothing of it).
bool Withheld(const TTestResult& t) {
    return t.Hidden && t.Status;
}

// What a student may see of a test's failure: every failure, or of a withheld test only
// that it failed; nothing for a pass.
std::vector<std::string> StudentFailures(const TTestResult& t) {
    if (t.Passed) return {};
    if (Withheld(t)) return {"failed"};
    return t.Failures;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
    return text;
}

std::vector<std::string> Utf8Texts(const std::vector<std::string>& texts) {
    std::vector<std::string> utf8;
    for (const std::string& text : texts) utf8.push_back(Utf8Text(text));
    return utf8;
}

// Seconds to the microsecond, for JSON.
double Rounded(double seconds) {
    return std::round(seconds * 1e6) / 1e6;
}

// Seconds as JUnit writes them: "0.000125". Whole microseconds in integers, as neither
// the locale's decimal point nor a floating-point to_chars (the browser edition's library
// has none) may decide the text.
std::string SecondsText(double seconds) {
    const auto micro = static_cast<long long>(std::llround(std::max(seconds, 0.0) * 1e6));
    const std::string fraction = std::to_string(1'000'000 + micro % 1'000'000).substr(1);
    return std::to_string(micro / 1'000'000) + "." + fraction;
}

// One program's part of the text report, which is also what Gradescope and PrairieLearn
// show the student above the tests.
std::string ProgramText(const TProgramReport& p) {
    const std::string name = EscapeName(p.Program);
    if (p.Skipped) return name + ": skipped: " + EscapeText(*p.Skipped) + "\n";
    std::string text = name + ": " + Summary(p) + "\n";
    for (const std::string& error : p.Errors) text += "  " + EscapeName(error) + "\n";
    for (const TTestResult& t : p.Tests)
        for (const std::string& failure : StudentFailures(t))
            text += "  " + EscapeName(t.Name) + ": " + EscapeText(failure) + "\n";
    return text;
}

std::string Text(const TTestReport& report) {
    std::string text;
    for (const TProgramReport& p : report.Programs) text += ProgramText(p);
    return text;
}

std::string Dump(const TJson& json) {
    // Every text went through Utf8Text or EscapeName; replace is only a safety net.
    return json.dump(2, ' ', false, TJson::error_handler_t::replace) + "\n";
}

std::string Json(const TTestReport& report) {
    TJson programs = TJson::array();
    for (const TProgramReport& p : report.Programs) {
        TJson tests = TJson::array();
        for (const TTestResult& t : p.Tests) {
            tests.push_back({{"name", Utf8Text(t.Name)},
                             {"description", Utf8Text(t.Description)},
                             {"hidden", t.Hidden},
                             {"passed", t.Passed},
                             {"points", t.Points},
                             {"max_points", t.MaxPoints},
                             {"status", t.Status ? TJson(StatusName(*t.Status)) : TJson()},
                             {"steps", t.Steps},
                             {"output", Cp437ToUtf8(t.Output)},
                             {"output_bytes", t.OutputBytes},
                             {"failures", Utf8Texts(t.Failures)}});
        }
        programs.push_back({{"program", EscapeName(p.Program)},
                            {"assembled", p.Assembled},
                            {"gradable", p.Assembled},
                            {"skipped", p.Skipped ? TJson(Utf8Text(*p.Skipped)) : TJson()},
                            {"errors", Utf8Texts(p.Errors)},
                            {"passed", p.Passed()},
                            {"total", p.Tests.size()},
                            {"points", p.Points()},
                            {"max_points", p.MaxPoints},
                            {"time", Rounded(p.Seconds)},
                            {"tests", std::move(tests)}});
    }
    return Dump({{"tests_file", EscapeName(report.TestsFile)}, {"programs", std::move(programs)}});
}

std::string Junit(const TTestReport& report) {
    long long tests = 0, failures = 0, errors = 0;
    double seconds = 0;
    for (const TProgramReport& p : report.Programs) {
        tests += static_cast<long long>(p.Tests.size());
        if (p.Assembled) failures += static_cast<long long>(p.Tests.size()) - p.Passed();
        if (!p.Assembled && !p.Skipped) errors += static_cast<long long>(p.Tests.size());
        seconds += p.Seconds;
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites name=\"" + XmlText(EscapeName(report.TestsFile)) + "\" tests=\"" +
           std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\" errors=\"" +
           std::to_string(errors) + "\" time=\"" + SecondsText(seconds) + "\">\n";
    for (const TProgramReport& p : report.Programs) {
        const std::string name = XmlText(EscapeName(p.Program));
        const std::string count = std::to_string(p.Tests.size());
        const std::string failed = std::to_string(p.Tests.size() - p.Passed());
        xml += "  <testsuite name=\"" + name + "\" tests=\"" + count + "\" failures=\"" +
               (p.Assembled ? failed : "0") + "\" errors=\"" +
               (p.Assembled || p.Skipped ? "0" : failed) + "\"" +
               (p.Skipped ? " skipped=\"" + count + "\"" : "") + " time=\"" +
               SecondsText(p.Seconds) + "\">\n";
        xml += "    <properties>\n      <property name=\"points\" value=\"" +
               std::to_string(p.Points()) + "\"/>\n      <property name=\"max_points\" value=\"" +
               std::to_string(p.MaxPoints) + "\"/>\n    </properties>\n";
        for (const TTestResult& t : p.Tests) {
            xml += "    <testcase name=\"" + XmlText(t.Name) + "\" classname=\"" + name +
                   "\" time=\"" + SecondsText(t.Seconds) + "\"";
            if (t.Passed) {
                xml += "/>\n";
                continue;
            }
            xml += ">\n      ";
            if (p.Skipped) {
                xml += "<skipped message=\"" + XmlText(*p.Skipped) + "\"/>";
            } else if (Withheld(t)) {
                xml += "<failure message=\"failed\"/>";
            } else {
                // Could not run (error) or failed an expectation (failure).
                const char* element = p.Assembled ? "failure" : "error";
                std::string body;
                for (const std::string& failure : t.Failures) body += failure + "\n";
                for (const std::string& error : p.Errors) body += error + "\n";
                xml += std::string("<") + element + " message=\"" + XmlText(t.Failures.front()) +
                       "\">" + XmlText(body) + "</" + element + ">";
            }
            xml += "\n    </testcase>\n";
        }
        xml += "  </testsuite>\n";
    }
    return xml + "</testsuites>\n";
}

const TProgramReport& OnlyProgram(const TTestReport& report) {
    if (report.Programs.size() != 1)
        throw std::invalid_argument("this report format takes exactly one program");
    return report.Programs.front();
}

// Gradescope's autograder results.json, with only the fields Gradescope's own documentation
// of that file names (gradescope-autograders.readthedocs.io).
std::string Gradescope(const TTestReport& report) {
    const TProgramReport& p = OnlyProgram(report);
    TJson tests = TJson::array();
    for (const TTestResult& t : p.Tests) {
        TJson test = {{"name", Utf8Text(t.Name)},
                      {"score", t.Points},
                      {"max_score", t.MaxPoints},
                      {"status", t.Passed ? "passed" : "failed"}};
        if (!t.Passed && !t.Hidden) test["output"] = Utf8Text(Lines(StudentFailures(t)));
        // A hidden test is shown only once the teacher publishes the grades, and then
        // only by its name and status.
        test["visibility"] = t.Hidden ? "after_published" : "visible";
        tests.push_back(std::move(test));
    }
    return Dump({{"score", p.Points()},
                 {"execution_time", Rounded(p.Seconds)},
                 {"output", ProgramText(p)},
                 {"tests", std::move(tests)}});
}

// PrairieLearn's external grading results.json (prairielearn.readthedocs.io, "External
// Grading", "Grading results"): only fields it names.
std::string PrairieLearn(const TTestReport& report) {
    const TProgramReport& p = OnlyProgram(report);
    if (!p.Assembled) {
        // Not gradable: the student loses no attempt and sees the assembler's messages.
        return Dump({{"gradable", false},
                     {"message", p.Tests.empty() ? "" : Utf8Text(p.Tests.front().Failures.front())},
                     {"format_errors", Utf8Texts(p.Errors)},
                     {"output", ProgramText(p)}});
    }
    TJson tests = TJson::array();
    for (const TTestResult& t : p.Tests) {
        TJson test = {{"name", Utf8Text(t.Name)}};
        if (!t.Hidden) test["description"] = Utf8Text(t.Description);
        test["points"] = t.Points;
        test["max_points"] = t.MaxPoints;
        test["message"] = Utf8Text(Lines(StudentFailures(t)));
        if (!t.Hidden) test["output"] = Cp437ToUtf8(t.Output);
        tests.push_back(std::move(test));
    }
    const double score = p.MaxPoints > 0 ? static_cast<double>(p.Points()) / p.MaxPoints
                                         : (p.AllPassed() ? 1.0 : 0.0);
    return Dump({{"gradable", true},
                 {"score", score},
                 {"message", Summary(p)},
                 {"output", ProgramText(p)},
                 {"tests", std::move(tests)}});
}

}  // namespace

int TProgramReport::Passed() const {
    return static_cast<int>(
        std::count_if(Tests.begin(), Tests.end(), [](const TTestResult& t) { return t.Passed; }));
}

long long TProgramReport::Points() const {
    return std::accumulate(Tests.begin(), Tests.end(), 0LL,
                           [](long long sum, const TTestResult& t) { return sum + t.Points; });
}

bool TTestReport::AllPassed() const {
    return std::all_of(Programs.begin(), Programs.end(),
                       [](const TProgramReport& p) { return p.AllPassed(); });
}

TProgramReport GradeProgram(const TTestFile& file, const std::string& program) {
    return GradeLoadedProgram(file, program, TryLoadProgram(program));
}

TProgramReport GradeLoadedProgram(const TTestFile& file, const std::string& name,
                                  TLoadedProgram loaded) {
    const auto began = std::chrono::steady_clock::now();
    TProgramReport report;
    report.Program = name;
    for (const TTestCase& test : file.Tests) report.MaxPoints += test.Points;
    report.Errors = std::move(loaded.Errors);
    report.Assembled = loaded.Image.has_value();
    const bool warnedOff = file.WarningsFail && !loaded.Warnings.empty();
    if (warnedOff) {
        // It assembled, so the student sees its warnings as the reason, not a load error.
        report.Errors = std::move(loaded.Warnings);
        for (const TTestCase& test : file.Tests)
            report.Tests.push_back(NotRun(test, WarningsNotAllowed));
    } else if (report.Assembled) {
        report.Tests = RunTests(file, *loaded.Image);
    } else {
        const char* why = loaded.Unreadable ? "not run: the program could not be read"
                                            : "not run: the program did not assemble";
        for (const TTestCase& test : file.Tests) report.Tests.push_back(NotRun(test, why));
    }
    report.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return report;
}

TProgramReport SkippedProgram(const TTestFile& file, const TSkippedFile& skipped) {
    TProgramReport report;
    report.Program = skipped.Path;
    report.Skipped = skipped.Why;
    for (const TTestCase& test : file.Tests) {
        report.MaxPoints += test.Points;
        report.Tests.push_back(NotRun(test, "not run: skipped, " + skipped.Why));
    }
    return report;
}

bool OneProgramFormat(TReportFormat format) {
    return format == TReportFormat::Gradescope || format == TReportFormat::PrairieLearn;
}

std::string Summary(const TProgramReport& p) {
    return std::to_string(p.Passed()) + " of " + std::to_string(p.Tests.size()) +
           " tests passed, " + std::to_string(p.Points()) + " of " + std::to_string(p.MaxPoints) +
           " points";
}

std::string_view ReportFormatName(TReportFormat format) {
    // No default: a format added without a name here does not compile (-Wswitch).
    switch (format) {
        case TReportFormat::Text:
            return "text";
        case TReportFormat::Json:
            return "json";
        case TReportFormat::Junit:
            return "junit";
        case TReportFormat::Gradescope:
            return "gradescope";
        case TReportFormat::PrairieLearn:
            return "prairielearn";
    }
    return "";
}

std::vector<TReportFormat> ReportFormats() {
    std::vector<TReportFormat> formats;
    for (int i = 0; !ReportFormatName(static_cast<TReportFormat>(i)).empty(); ++i)
        formats.push_back(static_cast<TReportFormat>(i));
    return formats;
}

std::string FormatReport(const TTestReport& report, TReportFormat format) {
    switch (format) {
        case TReportFormat::Json:
            return Json(report);
        case TReportFormat::Junit:
            return Junit(report);
        case TReportFormat::Gradescope:
            return Gradescope(report);
        case TReportFormat::PrairieLearn:
            return PrairieLearn(report);
        case TReportFormat::Text:
            break;
    }
    return Text(report);
}
