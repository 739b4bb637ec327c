#include "cli/cli.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "cli/args.h"
#include "cli/eachfile.h"
#include "core/version.h"

namespace {

using TCommandFn = int (*)(const std::vector<std::string>&, std::istream&, std::ostream&,
                           std::ostream&);

struct TCommand {
    const char* Name;
    const char* Summary;
    const char* Help;
    TCommandFn Run;
};

const TCommand Commands[] = {
    {"assemble", "assemble a source into a memory image", AssembleHelp, AssembleCommand},
    {"disassemble", "print the listing of a memory image or source", DisassembleHelp,
     DisassembleCommand},
    {"run", "run a memory image or source until it halts", RunHelp, RunCommand},
    {"test", "run a test file's tests on programs and report", TestHelp, TestCommand},
};

void PrintUsage(std::ostream& out) {
    out << "usage: quarzel-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const TCommand& c : Commands)
        out << "  " << std::left << std::setw(13) << c.Name << c.Summary << "\n";
    out << "\noptions:\n"
           "  -h, --help   print this help; after a command, describe the command\n"
           "  --version    print the version\n"
           "\nA file named - is standard input (standard output for -o and --trace).\n";
}

// Output that did not all reach its file (a full disk, a closed standard output) is an
// error, whatever the command did.
int CheckedOutput(int status, std::ostream& out, std::ostream& err) {
    const bool outWritten = static_cast<bool>(out.flush());
    const bool errWritten = static_cast<bool>(err.flush());
    if (outWritten && errWritten) return status;
    err.clear();
    err << "quarzel-cli: " << (outWritten ? "standard error" : "standard output")
        << " could not be written\n";
    err.flush();
    return ExitError;
}

// Runs the command args[0] names.
int Dispatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
             std::ostream& err) {
    if (args.empty()) {
        PrintUsage(err);
        return ExitError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintUsage(out);
        return ExitOk;
    }
    if (args[0] == "--version") {
        out << VersionLine("quarzel-cli") << "\n";
        return ExitOk;
    }
    const auto* command = std::find_if(std::begin(Commands), std::end(Commands),
                                       [&](const TCommand& c) { return args[0] == c.Name; });
    if (command == std::end(Commands)) {
        err << "quarzel-cli: unknown command '" << args[0] << "' (try --help)\n";
        return ExitError;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (WantsHelp(rest)) {
        out << command->Help;
        return ExitOk;
    }
    return Guarded(command->Name, err, [&] { return command->Run(rest, in, out, err); });
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    return CheckedOutput(Dispatch(args, in, out, err), out, err);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::istringstream nothing;
    return RunCli(args, nothing, out, err);
}
