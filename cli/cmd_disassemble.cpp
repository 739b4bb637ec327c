#include "cli/args.h"
#include "cli/cli.h"
#include "cli/eachfile.h"
#include "cli/program.h"
#include "core/disasm.h"
#include "core/machine.h"

const char* const DisassembleHelp =
    "usage: quarzel-cli disassemble [OPTION]... IMAGE.prg|SOURCE.asm...\n"
    "Prints the disassembly listing of each memory image, byte for byte as the\n"
    "listing file holds it (CR LF line ends); of several, each after a line\n"
    "'==> NAME <=='.\n"
    "\n"
    "options:\n"
    "  --pc HH               the program counter, whose parity chooses the alignment\n"
    "                        (default 00)\n"
    "  -h, --help            print this help\n"
    "\n"
    "A file named - is standard input. -- ends the options.\n";

int DisassembleCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                       std::ostream& err) {
    const TArgs parsed(args, {{"--pc"}, {}, 1, true});
    const int pc = parsed.Value("--pc") ? ParseHexByte("--pc", *parsed.Value("--pc")) : 0;
    const std::vector<std::string>& programs = parsed.Positionals();
    CheckOneStandardInput(programs);
    return EachFile("disassemble", programs, err, [&](const std::string& program, std::size_t i) {
        FileHeader(out, programs, i, "\r\n");
        TMachine machine;
        TProgramLoad load = LoadProgram(program, in, err, false);  // a listing stays quiet
        load.Pc = pc;
        machine.Simulation.LoadImage(load);
        WriteListing(out, machine.MainMemory, pc);
        return ExitOk;
    });
}
