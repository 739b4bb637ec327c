#include "cli/cli.h"

#include <algorithm>

#include "cli/args.h"
#include "cli/program.h"
#include "core/fileerror.h"
#include "core/version.h"

namespace {

using TCommandFn = int (*)(const std::vector<std::string>&, std::ostream&, std::ostream&);

struct TCommand {
    const char* Name;
    const char* Summary;
    TCommandFn Run;
};

const TCommand Commands[] = {
    {"assemble", "assemble a source into a memory image", AssembleCommand},
    {"disassemble", "print the listing of a memory image or source", DisassembleCommand},
    {"run", "run a memory image or source until it halts", RunCommand},
    {"test", "run a test file's tests on programs and report", TestCommand},
};

void PrintUsage(std::ostream& out) {
    out << "usage: quarzel-cli COMMAND [ARGS]\n\ncommands:\n";
    for (const TCommand& c : Commands) out << "  " << c.Name << "  " << c.Summary << "\n";
    out << "\n'quarzel-cli COMMAND --help' describes a command; --version prints the version.\n";
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
int Dispatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
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
    try {
        return command->Run({args.begin() + 1, args.end()}, out, err);
    } catch (const EUsageError& e) {
        err << "quarzel-cli " << command->Name << ": " << e.what() << " (try --help)\n";
    } catch (const EFileError& e) {
        err << "quarzel-cli " << command->Name << ": " << e.what() << "\n";
    } catch (const EAssemblyFailed&) {
        // the assembler's reports are all the user needs
    }
    return ExitError;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return CheckedOutput(Dispatch(args, out, err), out, err);
}
