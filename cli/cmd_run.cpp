#include <algorithm>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <vector>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/eachfile.h"
#include "cli/program.h"
#include "cli/stdstream.h"
#include "core/fileerror.h"
#include "core/hex.h"
#include "core/historystates.h"
#include "core/machine.h"
#include "core/outputfile.h"
#include "core/trace.h"

const char* const RunHelp =
    "usage: quarzel-cli run [OPTION]... IMAGE.prg|SOURCE.asm...\n"
    "Runs the program (registers 0, PC 00 or HH) until it halts, meets an invalid\n"
    "instruction or has executed N instructions. Every value written to RF goes to\n"
    "standard output as one byte (0 is not written). Standard error gets\n"
    "'status: halted|invalid|limit' and 'steps: N'. A SOURCE.asm is assembled\n"
    "first; its errors and warnings are reported as by assemble. Several programs\n"
    "run in turn, each after a line '==> NAME <==' on standard output.\n"
    "\n"
    "options:\n"
    "  --pc HH               start from address HH (default 00)\n"
    "  --max-steps N         stop after N instructions (default 10000000)\n"
    "  --dump                add PC, IR, the registers and memory in hex to\n"
    "                        standard error\n"
    "  -q, --quiet           leave out the status and steps lines\n"
    "  --trace TRACE         write one tab-separated line per executed instruction\n"
    "                        (step, pc, word, instruction, change) under a header\n"
    "                        line to the file TRACE (a device such as /dev/null too;\n"
    "                        never the program, nor a read-only file); one program\n"
    "                        only\n"
    "  --trace -             write the trace to standard output in place of the\n"
    "                        output bytes\n"
    "  --explain             add a sixth column to the trace, explanation: what the\n"
    "                        instruction did with the values it met\n"
    "  --no-warnings         leave out the assembler's warnings\n"
    "  --warnings            note on standard error, as 'note: TEXT', what the run\n"
    "                        did that is seldom meant: executing bytes db placed as\n"
    "                        data, PC wrapping past FF, an addf whose exact sum\n"
    "                        float8 cannot hold, a store into the program's own code\n"
    "  -h, --help            print this help\n"
    "\n"
    "A file named - is standard input: a memory image when its second to fourth\n"
    "bytes are 0, as every image's are, else a source. -- ends the options.\n"
    "Exit status: 0 halted, 2 invalid instruction, 3 step limit, 1 error; of several\n"
    "programs, that of the first that did not halt.\n";

namespace {

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

struct TRunOptions {
    int Pc = 0;
    long long MaxSteps = DefaultMaxSteps;
    std::optional<std::string> TracePath;
    bool Quiet = false;
    bool Dump = false;
    bool Explain = false;
    bool Warnings = true;  // the assembler's
    bool Notes = false;    // the run's
};

// Runs one program; returns its exit status.
int RunProgram(const std::string& program, const TRunOptions& options, std::istream& in,
               std::ostream& out, std::ostream& err) {
    const std::optional<std::string>& tracePath = options.TracePath;
    TNotePrinter notes(err);  // outlives the machine, which it observes
    TMachine machine(tracePath ? RoundSteps : 0);
    TProgramLoad load = LoadProgram(program, in, err, options.Warnings);
    load.Pc = options.Pc;
    machine.Simulation.LoadImage(load);
    if (options.Notes) {
        machine.Simulation.SetWatching(true);
        machine.Simulation.AddObserver(&notes, TSimulation::TNeeds::NoWrites);
    }
    std::optional<THistoryStates> states;
    if (options.Explain)
        states.emplace(ReadMachineState(machine.Stores()),
                       machine.Simulation.History().LastStep() + 1);
    const long long maxSteps = options.MaxSteps;
    const bool traceToOut = tracePath && IsStandardStream(*tracePath);
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
    if (!options.Quiet) {
        err << "status: " << StatusName(result) << '\n';
        err << "steps: " << steps << '\n';
    }
    if (options.Dump) Dump(err, machine);
    return result == TStepResult::Halted     ? ExitOk
           : result == TStepResult::Executed ? ExitLimit
                                             : ExitInvalid;
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
    const TArgs parsed(args, {{"--pc", "--max-steps", "--trace"},
                              {"--dump", "-q", "--explain", "--no-warnings", "--warnings"},
                              1,
                              true});
    TRunOptions options;
    if (const auto pc = parsed.Value("--pc")) options.Pc = ParseHexByte("--pc", *pc);
    if (const auto steps = parsed.Value("--max-steps"))
        options.MaxSteps = ParseCount("--max-steps", *steps);
    options.TracePath = parsed.Value("--trace");
    options.Quiet = parsed.Has("-q");
    options.Dump = parsed.Has("--dump");
    options.Explain = parsed.Has("--explain");
    options.Warnings = !parsed.Has("--no-warnings");
    options.Notes = parsed.Has("--warnings");
    if (options.Explain && !options.TracePath) throw EUsageError("--explain needs --trace");

    const std::vector<std::string>& programs = parsed.Positionals();
    CheckOneStandardInput(programs);
    if (options.TracePath && !IsStandardStream(*options.TracePath)) {
        if (programs.size() > 1)
            throw EUsageError("--trace " + *options.TracePath +
                              " takes one program; --trace - traces several");
        if (SameFile(*options.TracePath, programs[0]))
            throw EUsageError("the trace would overwrite the program " + programs[0]);
    }
    return EachFile("run", programs, err, [&](const std::string& program, std::size_t i) {
        FileHeader(out, programs, i, "\n");
        return RunProgram(program, options, in, out, err);
    });
}
