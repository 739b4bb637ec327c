#pragma once
// The module's C++ results as the JavaScript values the page's declarations promise.

#include <emscripten/val.h>

#include <string>
#include <string_view>
#include <vector>

#include "core/simulation.h"
#include "web/module/assembly.h"

// A new typed array holding a copy of the values (the module's memory may move).
template <class T>
emscripten::val TypedArray(const char* type, const T* values, std::size_t count) {
    return emscripten::val::global(type).new_(
        emscripten::val(emscripten::typed_memory_view(count, values)));
}

emscripten::val Bytes(std::string_view bytes);
emscripten::val Strings(const std::vector<std::string>& texts);
emscripten::val Diagnostics(const std::vector<TDiagnostic>& diagnostics);
emscripten::val AssemblyValue(const TAssembly& assembly);
// A JavaScript number as a count of steps: NaN and anything below 0 are 0, and what no
// run reaches is cut to 2^62, so the conversion is always defined.
long long StepCount(double number);

// "limit", "halted", "invalid", "breakpoint", "history-start", "stopped"
const char* OutcomeName(TRunOutcome outcome);
