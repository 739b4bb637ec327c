// The Tests class of the page's declarations over TWebTests.
#include <emscripten/bind.h>

#include "web/module/jsvalue.h"
#include "web/module/webmachine.h"
#include "web/module/webtests.h"

using emscripten::optional_override;
using emscripten::val;

namespace {

using T = TWebTests;

val TestList(const T& t) {
    val list = val::array();
    for (const TTestCase& test : t.Tests()) {
        val item = val::object();
        item.set("name", test.Name);
        item.set("line", test.Line);
        item.set("points", test.Points);
        list.call<void>("push", item);
    }
    return list;
}

}  // namespace

EMSCRIPTEN_BINDINGS(quarzel_tests) {
    emscripten::class_<T>("Tests")
        .constructor<std::string, std::string>()
        .function("ok", &T::Ok)
        .function("mistakes",
                  optional_override([](const T& t) { return Diagnostics(t.Mistakes()); }))
        .function("mistakeLines",
                  optional_override([](const T& t) { return Strings(t.MistakeLines()); }))
        .function("program", optional_override([](const T& t) {
                      return t.Program() ? val(*t.Program()) : val::null();
                  }))
        .function("tests", optional_override([](const T& t) { return TestList(t); }))
        .function("reportJson",
                  optional_override([](const T& t, std::string name, std::string program) {
                      return t.Report(name, program, TReportFormat::Json);
                  }))
        .function("reportText",
                  optional_override([](const T& t, std::string name, std::string program) {
                      return t.Report(name, program, TReportFormat::Text);
                  }))
        .function("loadStart", optional_override([](const T& t, TWebMachine& m, int index,
                                                    std::string name, std::string program) {
                      return Strings(t.LoadStart(m, index, name, program));
                  }));
}
