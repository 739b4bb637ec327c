#include <algorithm>
#include <cstdio>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "core/machine.h"

namespace {

constexpr const char* Help =
    "usage: quarzel-cli run IMAGE.prg|SOURCE.asm [--pc HH] [--max-steps N] [--dump]\n"
    "Runs the program (registers 0, PC 00 or HH) until it halts, meets an invalid\n"
    "instruction or has executed N instructions (default 10000000). Every value\n"
    "written to RF goes to standard output as one byte (0 is not written).\n"
    "Standard error gets 'status: halted|invalid|limit' and 'steps: N'; --dump\n"
    "adds PC, IR, the registers and memory in hex.\n"
    "A SOURCE.asm is assembled first; its errors are reported as by assemble.\n"
    "Exit status: 0 halted, 2 invalid instruction, 3 step limit, 1 error.\n";

constexpr long long DefaultMaxSteps = 10'000'000;

std::string Hex(int value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

void DumpRow(std::ostream& err, const std::string& label, const CellStore& store, int from) {
    err << label;
    for (int i = from; i < from + 16; ++i) err << ' ' << Hex(store.GetContents(i), 2);
    err << '\n';
}

void Dump(std::ostream& err, TMachine& m) {
    err << "pc: " << Hex(m.SysRegs.GetContents(0), 2) << '\n';
    err << "ir: " << Hex(m.SysRegs.GetContents(1), 4) << '\n';
    DumpRow(err, "registers:", m.Registers, 0);
    for (int row = 0; row < 256; row += 16)
        DumpRow(err, "memory " + Hex(row, 2) + ":", m.MainMemory, row);
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Help;
        return ExitOk;
    }
    const TArgs parsed(args, {{"--pc", "--max-steps"}, {"--dump"}, 1});
    const int pc = parsed.Value("--pc") ? ParseHexByte("--pc", *parsed.Value("--pc")) : 0;
    const long long maxSteps = parsed.Value("--max-steps")
                                   ? ParseCount("--max-steps", *parsed.Value("--max-steps"))
                                   : DefaultMaxSteps;

    TMachine machine;
    machine.LoadMemory(LoadProgram(parsed.Positionals()[0], err));
    machine.SysRegs.SetContents(PcIndex, pc);
    machine.OnOutput = [&out](int value) {
        if (value != 0) out.put(static_cast<char>(value & 0xFF));
    };

    long long steps = 0;
    const int result = RunStepsCounted(machine.Stores(), maxSteps, steps);
    out.flush();
    const bool limit = result == StepExecuted;
    err << "status: " << (result == StepHalted ? "halted" : limit ? "limit" : "invalid") << '\n';
    err << "steps: " << steps << '\n';
    if (parsed.Has("--dump")) Dump(err, machine);
    return result == StepHalted ? ExitOk : limit ? ExitLimit : ExitInvalid;
}
