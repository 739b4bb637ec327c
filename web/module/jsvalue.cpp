#include "web/module/jsvalue.h"

using emscripten::val;

val Bytes(std::string_view bytes) {
    return TypedArray("Uint8Array", reinterpret_cast<const unsigned char*>(bytes.data()),
                      bytes.size());
}

val Strings(const std::vector<std::string>& texts) {
    return val::array(texts);
}

val Diagnostics(const std::vector<TDiagnostic>& diagnostics) {
    val list = val::array();
    for (const TDiagnostic& d : diagnostics) {
        val item = val::object();
        item.set("line", d.Line);
        item.set("column", d.Column);
        item.set("message", d.Message);
        item.set("text", d.Text);
        list.call<void>("push", item);
    }
    return list;
}

val AssemblyValue(const TAssembly& assembly) {
    std::string image(256, '\0');
    for (std::size_t a = 0; a < 256; ++a) image[a] = static_cast<char>(assembly.Image[a]);
    val result = val::object();
    result.set("ok", assembly.Ok);
    result.set("diagnostics", Diagnostics(assembly.Diagnostics));
    result.set("warnings", Diagnostics(assembly.Warnings));
    result.set("image", Bytes(image));
    result.set("sourceMap",
               TypedArray("Int32Array", assembly.SourceMap.data(), assembly.SourceMap.size()));
    return result;
}

long long StepCount(double number) {
    constexpr double Most = 4611686018427387904.0;  // 2^62
    return number > 0 ? static_cast<long long>(number < Most ? number : Most) : 0;
}

const char* OutcomeName(TRunOutcome outcome) {
    switch (outcome) {
        case TRunOutcome::Limit:
            break;
        case TRunOutcome::Halted:
            return "halted";
        case TRunOutcome::Invalid:
            return "invalid";
        case TRunOutcome::Breakpoint:
            return "breakpoint";
        case TRunOutcome::HistoryStart:
            return "history-start";
        case TRunOutcome::Stopped:
            return "stopped";
    }
    return "limit";
}
