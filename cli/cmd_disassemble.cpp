#include <algorithm>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"
#include "core/disasm.h"
#include "core/machine.h"

namespace {

constexpr const char* Help =
    "usage: quarzel-cli disassemble IMAGE.prg|SOURCE.asm [--pc HH]\n"
    "Prints the disassembly listing of the memory image, byte for byte as the\n"
    "listing file holds it (CR LF line ends). --pc HH sets the program counter,\n"
    "whose parity chooses the alignment (default 00).\n";

}  // namespace

int DisassembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Help;
        return ExitOk;
    }
    const TArgs parsed(args, {{"--pc"}, {}, 1});
    const int pc = parsed.Value("--pc") ? ParseHexByte("--pc", *parsed.Value("--pc")) : 0;
    TMachine machine;
    TProgramLoad program = LoadProgram(parsed.Positionals()[0], err, false);
    program.Pc = pc;
    machine.Simulation.LoadImage(program);
    WriteListing(out, machine.MainMemory, pc);
    return ExitOk;
}
