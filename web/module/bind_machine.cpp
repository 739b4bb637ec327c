// The Machine class of the page's declarations over TWebMachine.
#include <emscripten/bind.h>

#include "core/disasm.h"
#include "core/explain.h"
#include "core/historystates.h"
#include "core/trace.h"
#include "core/valuecard.h"
#include "web/module/jsvalue.h"
#include "web/module/webmachine.h"

using emscripten::optional_override;
using emscripten::val;

namespace {

using M = TWebMachine;

val StoreBytes(const CellStore& store) {
    std::string bytes(static_cast<std::size_t>(store.Count()), '\0');
    for (int i = 0; i < store.Count(); ++i)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(store.GetContents(i));
    return Bytes(bytes);
}

val ChangesValue(M& m) {
    const TMachineChanges c = m.TakeChanges();
    val changes = val::object();
    changes.set("memory", val::array(c.Memory));
    changes.set("registers", val::array(c.Registers));
    changes.set("pc", c.Pc);
    changes.set("ir", c.Ir);
    changes.set("output", TypedArray("Int16Array", c.Output.data(), c.Output.size()));
    changes.set("historyCleared", c.HistoryCleared);
    changes.set("breakpoints", c.Breakpoints);
    changes.set("loaded", c.Loaded);
    changes.set("traceRows", static_cast<double>(m.Simulation().History().Size()));
    return changes;
}

val StatusValue(const M& m) {
    static const char* const tones[] = {"normal", "running", "alert"};
    val status = val::object();
    status.set("text", m.Status().Text);
    status.set("tone", tones[static_cast<int>(m.Status().Tone)]);
    return status;
}

val SliceValue(M& m, double count) {
    const TSliceResult slice = m.RunSlice(StepCount(count));
    val result = val::object();
    result.set("outcome", OutcomeName(slice.Outcome));
    result.set("executed", static_cast<double>(slice.Executed));
    result.set("running", slice.Running);
    return result;
}

// A text that is no prediction is not stepped: the result says how to type one.
val PredictStepValue(M& m, const std::string& text) {
    const std::optional<TVerdict> verdict = m.PredictStep(text);
    val result = val::object();
    result.set("stepped", verdict.has_value());
    result.set("right", verdict && verdict->Right);
    result.set("text", verdict ? verdict->Text : std::string(PredictionHint));
    result.set("score", m.Score().Text());
    return result;
}

val BreakpointList(M& m) {
    std::vector<int> addresses;
    for (int a = 0; a < 256; ++a)
        if (m.Simulation().Breakpoints().Has(a)) addresses.push_back(a);
    return val::array(addresses);
}

val ValueCardLines(M& m, const std::string& kind, int index) {
    const TValueCell cell = kind == "register" ? TValueCell::Register
                            : kind == "sysreg" ? TValueCell::SysReg
                                               : TValueCell::Memory;
    return Strings(ValueCard(m.Machine().Stores(), m.Simulation().History(), cell, index));
}

bool HasTraceRow(M& m, double i) {
    return i >= 0 && i < static_cast<double>(m.Simulation().History().Size());
}

val TraceRow(M& m, double i) {
    std::vector<std::string> columns;
    if (!HasTraceRow(m, i)) return Strings(columns);
    const THistoryEntry e = m.Simulation().History().Entry(static_cast<long long>(i));
    char text[MaxTraceLine];
    for (int c = 0; c < TraceColumnCount; ++c)
        columns.emplace_back(text, FormatTraceColumn(text, e, static_cast<TTraceColumn>(c)));
    return Strings(columns);
}

double TraceStep(M& m, double i) {
    if (!HasTraceRow(m, i)) return -1;
    return static_cast<double>(m.Simulation().History().Entry(static_cast<long long>(i)).Step);
}

void ExportTrace(M& m, const std::string& format, val sink) {
    WriteTrace(m.Simulation().History(), format == "csv" ? TTraceFormat::Csv : TTraceFormat::Tabs,
               [&sink](std::string_view piece) { sink(std::string(piece)); });
}

val SaveImage(M& m) {
    TMemoryImage image{};
    for (int a = 0; a < 256; ++a)
        image[static_cast<std::size_t>(a)] = m.Machine().MainMemory.GetContents(a);
    return Bytes(MemoryImageBytes(image));
}

}  // namespace

EMSCRIPTEN_BINDINGS(quarzel_machine) {
    emscripten::class_<M>("Machine")
        .constructor<>()
        .function("memory",
                  optional_override([](M& m) { return StoreBytes(m.Machine().MainMemory); }))
        .function("registers",
                  optional_override([](M& m) { return StoreBytes(m.Machine().Registers); }))
        .function("pc",
                  optional_override([](M& m) { return m.Machine().SysRegs.GetContents(PcIndex); }))
        .function("ir",
                  optional_override([](M& m) { return m.Machine().SysRegs.GetContents(IrIndex); }))
        .function("setMemory", &M::SetMemory)
        .function("setRegister", &M::SetRegister)
        .function("setPc", &M::SetPc)
        .function("setIr", &M::SetIr)
        .function("clearMemory", &M::ClearMemory)
        .function("clearRegisters", &M::ClearRegisters)
        .function("zeroPc", optional_override([](M& m) { m.SetPc(0); }))
        .function("changes", optional_override([](M& m) { return ChangesValue(m); }))
        .function("status", optional_override([](M& m) { return StatusValue(m); }))
        .function("step",
                  optional_override([](M& m) { return std::string(OutcomeName(m.Step())); }))
        .function("predictStep", optional_override([](M& m, std::string text) {
                      return PredictStepValue(m, text);
                  }))
        .function("predictScore", optional_override([](M& m) { return m.Score().Text(); }))
        .function("runNote", optional_override([](M& m) { return m.Note(); }))
        .function("stepBack",
                  optional_override([](M& m) { return std::string(OutcomeName(m.StepBack())); }))
        .function("startRun", &M::StartRun)
        .function("runSlice",
                  optional_override([](M& m, double count) { return SliceValue(m, count); }))
        .function("stop", &M::Stop)
        .function("running", optional_override([](M& m) { return m.Simulation().Running(); }))
        .function("runningBack",
                  optional_override([](M& m) { return m.Simulation().RunningBack(); }))
        .function("toggleBreakpoint",
                  optional_override([](M& m, int a) { m.Simulation().ToggleBreakpoint(a); }))
        .function("clearBreakpoints",
                  optional_override([](M& m) { m.Simulation().ClearBreakpoints(); }))
        .function("breakpoints", optional_override([](M& m) { return BreakpointList(m); }))
        .function("disassembly", optional_override([](M& m) { return Strings(m.Disassembly()); }))
        .function("disasmAddress", optional_override([](M& m, int line) {
                      return TDisasmList::AddressOfLine(line,
                                                        m.Machine().SysRegs.GetContents(PcIndex));
                  }))
        .function("disasmPcLine", optional_override([](M& m) {
                      return TDisasmList::LineOfAddress(m.Machine().SysRegs.GetContents(PcIndex));
                  }))
        .function("valueCard", optional_override([](M& m, std::string kind, int index) {
                      return ValueCardLines(m, kind, index);
                  }))
        .function("explainNext", optional_override([](M& m) {
                      return ExplainInstruction(ReadMachineState(m.Machine().Stores()));
                  }))
        .function("explainLast", optional_override([](M& m) {
                      return ExplainLastStep(m.Machine().Stores(), m.Simulation().History())
                          .value_or(std::string());
                  }))
        .function("traceRows", optional_override([](M& m) {
                      return static_cast<double>(m.Simulation().History().Size());
                  }))
        .function("traceRow", optional_override([](M& m, double i) { return TraceRow(m, i); }))
        .function("traceStep", optional_override([](M& m, double i) { return TraceStep(m, i); }))
        .function("stepBackTo", optional_override([](M& m, double step) {
                      m.Simulation().StepBackTo(StepCount(step));
                  }))
        .function("exportTrace", optional_override([](M& m, std::string format, val sink) {
                      ExportTrace(m, format, sink);
                  }))
        .function("assemble", optional_override([](M& m, std::string text) {
                      return AssemblyValue(m.Assemble(text));
                  }))
        .function("sourceLine", optional_override([](M& m, int address) {
                      return address >= 0 && address < 256
                                 ? m.Simulation().SourceMap()[static_cast<std::size_t>(address)]
                                 : -1;
                  }))
        .function("breakpointAddressOfLine", &M::BreakpointAddressOfLine)
        .function("markedLine", &M::MarkedLine)
        .function("sourceEdited", &M::SourceEdited)
        .function("openImage",
                  optional_override([](M& m, std::string bytes) { return m.OpenImage(bytes); }))
        .function("saveImage", optional_override([](M& m) { return SaveImage(m); }));
}
