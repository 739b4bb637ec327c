#include "grading/testreport.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <numeric>

#include "asm/asmfile.h"
#include "core/cp437.h"

namespace {

std::string Text(const TTestReport& report) {
    std::string text;
    for (const TProgramReport& p : report.Programs) {
        text += p.Program + ": " + std::to_string(p.Passed()) + " of " +
                std::to_string(p.Tests.size()) + " tests passed, " + std::to_string(p.Points()) +
                " of " + std::to_string(p.MaxPoints) + " points\n";
        for (const std::string& error : p.Errors) text += "  " + error + "\n";
        for (const TTestResult& t : p.Tests)
            for (const std::string& failure : t.Failures)
                text += "  " + t.Name + ": " + failure + "\n";
    }
    return text;
}

std::string Json(const TTestReport& report) {
    nlohmann::ordered_json programs = nlohmann::ordered_json::array();
    for (const TProgramReport& p : report.Programs) {
        nlohmann::ordered_json tests = nlohmann::ordered_json::array();
        for (const TTestResult& t : p.Tests) {
            tests.push_back({{"name", t.Name},
                             {"passed", t.Passed},
                             {"points", t.Points},
                             {"status", t.Status ? nlohmann::ordered_json(StatusName(*t.Status))
                                                 : nlohmann::ordered_json()},
                             {"steps", t.Steps},
                             {"output", Cp437ToUtf8(t.Output)},
                             {"failures", t.Failures}});
        }
        programs.push_back({{"program", p.Program},
                            {"assembled", p.Assembled},
                            {"errors", p.Errors},
                            {"passed", p.Passed()},
                            {"total", p.Tests.size()},
                            {"points", p.Points()},
                            {"max_points", p.MaxPoints},
                            {"tests", std::move(tests)}});
    }
    const nlohmann::ordered_json json = {{"tests_file", report.TestsFile},
                                         {"programs", std::move(programs)}};
    // A path need not be UTF-8; its stray bytes become U+FFFD rather than an exception.
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// The UTF-8 character at the start of text: its length (0 when the bytes are not one:
// stray, overlong, a surrogate) and whether XML 1.0 can hold it (not U+FFFE or U+FFFF).
struct TUtf8Character {
    std::size_t Length = 0;
    bool XmlCanHold = false;
};

TUtf8Character Utf8Character(std::string_view text) {
    const auto b = static_cast<unsigned char>(text[0]);
    const std::size_t length = b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    if (length == 0 || text.size() < length) return {};
    char32_t c = b & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return {};
        c = c << 6 | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {length, c != 0xFFFE && c != 0xFFFF};
}

// Text for XML 1.0: markup characters escaped, and what XML cannot hold at all (control
// characters, bytes that are not UTF-8, U+FFFE and U+FFFF) replaced by U+FFFD.
std::string Xml(const std::string& text) {
    std::string xml;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (c == '&') {
            xml += "&amp;";
        } else if (c == '<') {
            xml += "&lt;";
        } else if (c == '>') {
            xml += "&gt;";
        } else if (c == '"') {
            xml += "&quot;";
        } else if (c == '\n') {
            xml += "&#10;";
        } else if (c == '\t') {
            xml += "&#9;";
        } else if (b < 0x20 || b == 0x7F) {
            xml += "\xEF\xBF\xBD";
        } else if (b < 0x80) {
            xml += c;
        } else if (const TUtf8Character u = Utf8Character(std::string_view(text).substr(i));
                   u.Length > 0) {
            if (u.XmlCanHold)
                xml.append(text, i, u.Length);
            else
                xml += "\xEF\xBF\xBD";
            i += u.Length - 1;
        } else {
            xml += "\xEF\xBF\xBD";
        }
    }
    return xml;
}

std::string Junit(const TTestReport& report) {
    int tests = 0, failures = 0;
    for (const TProgramReport& p : report.Programs) {
        tests += static_cast<int>(p.Tests.size());
        failures += static_cast<int>(p.Tests.size()) - p.Passed();
    }
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    xml += "<testsuites name=\"" + Xml(report.TestsFile) + "\" tests=\"" + std::to_string(tests) +
           "\" failures=\"" + std::to_string(failures) + "\">\n";
    for (const TProgramReport& p : report.Programs) {
        const std::string name = Xml(p.Program);
        xml += "  <testsuite name=\"" + name + "\" tests=\"" + std::to_string(p.Tests.size()) +
               "\" failures=\"" + std::to_string(p.Tests.size() - p.Passed()) + "\">\n";
        for (const TTestResult& t : p.Tests) {
            xml += "    <testcase name=\"" + Xml(t.Name) + "\" classname=\"" + name + "\"";
            if (t.Passed) {
                xml += "/>\n";
                continue;
            }
            std::string body;
            for (const std::string& failure : t.Failures) body += failure + "\n";
            for (const std::string& error : p.Errors) body += error + "\n";
            xml += ">\n      <failure message=\"" + Xml(t.Failures.front()) + "\">" + Xml(body) +
                   "</failure>\n    </testcase>\n";
        }
        xml += "  </testsuite>\n";
    }
    return xml + "</testsuites>\n";
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
    TProgramReport report;
    report.Program = name;
    for (const TTestCase& test : file.Tests) report.MaxPoints += test.Points;
    report.Errors = std::move(loaded.Errors);
    report.Assembled = loaded.Image.has_value();
    if (report.Assembled) {
        report.Tests = RunTests(file, *loaded.Image);
        return report;
    }
    const char* why = IsSourcePath(name) ? "not run: the program did not assemble"
                                         : "not run: the program could not be read";
    for (const TTestCase& test : file.Tests) report.Tests.push_back(NotRun(test, why));
    return report;
}

std::string FormatReport(const TTestReport& report, TReportFormat format) {
    switch (format) {
        case TReportFormat::Json:
            return Json(report);
        case TReportFormat::Junit:
            return Junit(report);
        case TReportFormat::Text:
            break;
    }
    return Text(report);
}
