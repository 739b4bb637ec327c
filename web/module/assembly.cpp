#include "web/module/assembly.h"

#include "asm/asmparse.h"
#include "asm/warnings.h"
#include "core/cp437.h"

TAssembly AssembleLines(const TLineSource& source) {
    TAsmParser parser(source);
    TAssembly result;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        std::string text = Cp437ToUtf8(message);
        result.Diagnostics.push_back(
            {line, column, text, "line " + std::to_string(line + 1) + ": " + text});
    });
    result.Ok = result.Diagnostics.empty();
    if (!result.Ok) return result;
    for (const TAsmWarning& w : AsmWarnings(parser)) {
        std::string text = Cp437ToUtf8(w.Text);
        result.Warnings.push_back(
            {w.Line, w.Column, text, "line " + std::to_string(w.Line + 1) + ": " + text});
    }
    for (int a = 0; a < 256; ++a) {
        result.Image[static_cast<std::size_t>(a)] = parser.MemoryByte(a);
        result.SourceMap[static_cast<std::size_t>(a)] = parser.SourceLine(a);
    }
    result.Placement = parser.Placement();
    return result;
}
