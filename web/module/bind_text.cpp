// The module's free functions: assembling a file's bytes, a line's highlighting, and the
// conversions the page shows text with; and the output window's text.
#include <emscripten/bind.h>

#include "asm/asmparse.h"
#include "core/cp437.h"
#include "core/hex.h"
#include "core/terminaltext.h"
#include "web/module/jsvalue.h"

using emscripten::val;

namespace {

val HighlightLine(const std::string& text) {
    static const char* const classes[] = {"normal",  "keyword", "numeric",       "string",
                                          "comment", "error",   "hidden-keyword"};
    static const TMemoryTextSource noText;
    static TAsmParser parser(noText);
    const std::string line = EditorTextToCp437(text);
    parser.SetLine(line);
    parser.Tokenize();
    parser.AssignStyles();
    val runs = val::array();
    for (const Token& t : parser.Tokens()) {
        val run = val::object();
        run.set("from", t.StartCol);
        run.set("to", t.EndCol);
        run.set("cls", classes[static_cast<int>(t.Style)]);
        runs.call<void>("push", run);
    }
    return runs;
}

val AssembleFileBytes(const std::string& bytes) {
    return AssemblyValue(AssembleLines(TMemoryTextSource(DecodeSourceFile(bytes))));
}

std::string Cp437ToText(const val& bytes) {
    std::string text;
    for (const int b : emscripten::vecFromJSArray<int>(bytes)) text += static_cast<char>(b);
    return Cp437ToUtf8(text);
}

// The output of Changes in order: a byte written, or -1 for one taken back.
void ApplyOutput(TTerminalText& terminal, const val& codes) {
    for (const int code : emscripten::vecFromJSArray<int>(codes))
        if (code < 0)
            terminal.TakeBack();
        else
            terminal.Write(static_cast<char>(code));
}

}  // namespace

EMSCRIPTEN_BINDINGS(quarzel_text) {
    emscripten::class_<TTerminalText>("Terminal")
        .constructor<int, int>()
        .function("apply", &ApplyOutput)
        .function("text", &TTerminalText::ShownText);
    emscripten::function("assembleFile", &AssembleFileBytes);
    emscripten::function("highlightLine", &HighlightLine);
    // embind passes strings, not string views.
    emscripten::function("sourceFileToText", emscripten::optional_override([](std::string bytes) {
                             return SourceFileToUtf8(bytes);
                         }));
    emscripten::function("cp437ToText", &Cp437ToText);
    emscripten::function(
        "parseHex", emscripten::optional_override([](std::string text) { return ParseHex(text); }));
    emscripten::function("formatHex", &FormatHex);
}
