#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "core/fileerror.h"
#include "core/hex.h"
#include "core/historystates.h"
#include "core/machine.h"
#include "core/outputfile.h"
#include "core/trace.h"

namespace {

constexpr const char* Help =
    "usage: quarzel-cli run IMAGE.prg|SOURCE.asm [--pc HH] [--max-steps N] [--dump]\n"
    "                       [--trace TRACE|-] [--explain] [--no-warnings] [--warnings]\n"
    "Runs the program (registers 0, PC 00 or HH) until it halts, meets an invalid\n"
    "instruction or has executed N instructions (default 10000000). Every value\n"
    "written to RF goes to standard output as one byte (0 is not written).\n"
    "Standard error gets 'status: halted|invalid|limit' and 'steps: N'; --dump\n"
    "adds PC, IR, the registers and memory in hex.\n"
    "--trace TRACE writes one tab-separated line per executed instruction (step, pc,\n"
    "word, instruction, change) under a header line to the file TRACE (a device such\n"
    "as /dev/null too; never the program, nor a read-only file); --trace - writes it\n"
    "to standard output in place of the output bytes. --explain adds a sixth column,\n"
    "explanation: what the instruction did with the values it met.\n"
    "A SOURCE.asm is assembled first; its errors and warnings are reported as by\n"
    "assemble (--no-warnings leaves the warnings out).\n"
    "--warnings notes on standard error, as 'note: TEXT', what the run did that is\n"
    "seldom meant: executing bytes db placed as data, PC wrapping past FF, an addf\n"
    "whose exact sum float8 cannot hold, a store into the program's own code.\n"
    "Exit status: 0 halted, 2 invalid instruction, 3 step limit, 1 error.\n";

constexpr long long DefaultMaxSteps = 10'000'000;
// A traced run goes in rounds of the history's depth, each round's lines in one block.
constexpr long long RoundSteps = 1 << 16;

// Writes the run's notes to standard error as they are made.
class TNotePrinter final : public TSimulationObserver {
public:
    explicit TNotePrinter(std::ostream& err) : err_(err) {}
    void Noted(const TRunNote& note) override { err_ << "note: " << RunNoteText(note) << '\n'; }

private:
    std::ostream& err_;
};

void DumpRow(std::ostream& err, const std::string& label, const CellStore& store, int from) {
    err << label;
    for (int i = from; i < from + 16; ++i) err << ' ' << FormatHex(store.GetContents(i), 2);
    err << '\n';
}

void Dump(std::ostream& err, TMachine& m) {
    err << "pc: " << FormatHex(m.SysRegs.GetContents(0), 2) << '\n';
    err << "ir: " << FormatHex(m.SysRegs.GetContents(1), 4) << '\n';
    DumpRow(err, "registers:", m.Registers, 0);
    for (int row = 0; row < 256; row += 16)
        DumpRow(err, "memory " + FormatHex(row, 2) + ":", m.MainMemory, row);
}

// Takes a block of trace lines; false when it could not be written.
using TTraceSink = std::function<bool(std::string_view)>;

class TTraceWriter {
public:
    // With states, each line gets the step's explanation as a sixth column; states holds
    // the machine as it is before the run's first step.
    TTraceWriter(TTraceSink sink, std::string name, std::optional<THistoryStates> states)
        : sink_(std::move(sink)), name_(std::move(name)), states_(std::move(states)) {
        buffer_.resize(RoundSteps * (MaxTraceLine + (states_ ? MaxExplanation + 1 : 0)));
        std::string header(TraceHeader);
        if (states_) header.insert(header.size() - 1, "\t" + std::string(ExplanationColumnName));
        Write(header.data(), header.size());
    }

    TStepResult Run(TSimulation& simulation, long long maxSteps, long long& steps) {
        TStepResult result = TStepResult::Executed;
        const THistory& history = simulation.History();
        steps = 0;
        while (result == TStepResult::Executed && steps < maxSteps) {
            long long executed = 0;
            result = simulation.Run(std::min(RoundSteps, maxSteps - steps), executed);
            steps += executed;
            char* end = buffer_.data();
            for (long long i = history.Size() - executed; i < history.Size(); ++i) {
                const THistoryEntry e = history.Entry(i);
                end = FormatTraceLine(end, e);
                if (states_) end = Explain(end - 1, history, e.Step);
            }
            // The next round's history begins after this one's steps.
            if (states_) states_->Before(history, history.LastStep() + 1);
            Write(buffer_.data(), static_cast<std::size_t>(end - buffer_.data()));
        }
        return result;
    }
    [[noreturn]] void Fail() const { throw EFileError("Cannot write the trace to " + name_); }

private:
    // Writes the explanation column at out, where the line's end was, and ends the line.
    char* Explain(char* out, const THistory& history, long long step) {
        const std::string text = states_->Explain(history, step);
        *out++ = '\t';
        out = std::copy(text.begin(), text.end(), out);
        *out++ = '\n';
        return out;
    }
    void Write(const char* bytes, std::size_t count) {
        if (!sink_({bytes, count})) Fail();
    }

    TTraceSink sink_;
    std::string name_;
    std::optional<THistoryStates> states_;
    std::vector<char> buffer_;
};

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Help;
        return ExitOk;
    }
    const TArgs parsed(args, {{"--pc", "--max-steps", "--trace"},
                              {"--dump", "--explain", "--no-warnings", "--warnings"},
                              1});
    const int pc = parsed.Value("--pc") ? ParseHexByte("--pc", *parsed.Value("--pc")) : 0;
    const long long maxSteps = parsed.Value("--max-steps")
                                   ? ParseCount("--max-steps", *parsed.Value("--max-steps"))
                                   : DefaultMaxSteps;

    const std::string& program = parsed.Positionals()[0];
    const std::optional<std::string> tracePath = parsed.Value("--trace");
    if (tracePath && SameFile(*tracePath, program))
        throw EUsageError("the trace would overwrite the program " + program);
    if (parsed.Has("--explain") && !tracePath) throw EUsageError("--explain needs --trace");
    TNotePrinter notes(err);  // outlives the machine, which it observes
    TMachine machine(tracePath ? RoundSteps : 0);
    TProgramLoad load = LoadProgram(program, err, !parsed.Has("--no-warnings"));
    load.Pc = pc;
    machine.Simulation.LoadImage(load);
    if (parsed.Has("--warnings")) {
        machine.Simulation.SetWatching(true);
        machine.Simulation.AddObserver(&notes, TSimulation::TNeeds::NoWrites);
    }
    std::optional<THistoryStates> states;
    if (parsed.Has("--explain"))
        states.emplace(ReadMachineState(machine.Stores()),
                       machine.Simulation.History().LastStep() + 1);
    const bool traceToOut = tracePath == "-";
    if (!traceToOut)
        machine.OnOutput = [&out](int value) {
            if (value != 0) out.put(static_cast<char>(value & 0xFF));
        };

    long long steps = 0;
    TStepResult result = TStepResult::Executed;
    if (traceToOut) {
        TTraceWriter writer(
            [&out](std::string_view bytes) {
                return static_cast<bool>(out.write(bytes.data(), std::ssize(bytes)));
            },
            "standard output", states);
        result = writer.Run(machine.Simulation, maxSteps, steps);
        if (!out.flush()) writer.Fail();
    } else if (tracePath) {
        // Written as the run goes, in place: a trace can be far too long to hold.
        TFileDescriptor file = OpenStreamFile(*tracePath);
        TTraceWriter writer(
            [&file](std::string_view bytes) { return WriteFully(file.Get(), bytes); }, *tracePath,
            states);
        result = writer.Run(machine.Simulation, maxSteps, steps);
        if (!file.Close()) writer.Fail();
    } else {
        result = machine.Simulation.Run(maxSteps, steps);
    }
    out.flush();
    err << "status: " << StatusName(result) << '\n';
    err << "steps: " << steps << '\n';
    if (parsed.Has("--dump")) Dump(err, machine);
    return result == TStepResult::Halted     ? ExitOk
           : result == TStepResult::Executed ? ExitLimit
                                             : ExitInvalid;
}
