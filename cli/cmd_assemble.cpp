#include <algorithm>
#include <filesystem>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/program.h"

namespace {

constexpr const char* Help =
    "usage: quarzel-cli assemble SOURCE.asm [-o IMAGE.prg] [--no-warnings]\n"
    "Assembles the source into a memory image file, by default the source's name\n"
    "with the extension .prg. Errors go to standard error, one per line, as\n"
    "SOURCE.asm:LINE:COLUMN: MESSAGE (counted from 1); then nothing is written and\n"
    "the exit status is 1. The source is read as UTF-8 and converted to code page\n"
    "437; a file that is not UTF-8 is taken byte for byte.\n"
    "Warnings about classic mistakes (loading a data label's address, running into\n"
    "db data, no halt, a jump into data or to an odd address, a label never used)\n"
    "go to standard error as SOURCE.asm:LINE:COLUMN: warning: TEXT and change\n"
    "neither the image nor the exit status; --no-warnings leaves them out.\n";

// The image name: given with -o, or the source's with the extension .prg. Never the source
// itself, which a failed naming would overwrite.
std::string ImagePath(const std::string& source, const std::optional<std::string>& given) {
    namespace fs = std::filesystem;
    const std::string image = given ? *given : fs::path(source).replace_extension(".prg").string();
    if (SameFile(image, source))
        throw EUsageError("the image would overwrite the source " + source + "; name it with -o");
    return image;
}

}  // namespace

int AssembleCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (std::find(args.begin(), args.end(), "--help") != args.end()) {
        out << Help;
        return ExitOk;
    }
    const TArgs parsed(args, {{"-o"}, {"--no-warnings"}, 1});
    const std::string& source = parsed.Positionals()[0];
    const std::string image = ImagePath(source, parsed.Value("-o"));
    WriteMemoryFile(image, AssembleSourceFile(source, err, !parsed.Has("--no-warnings")).Image);
    return ExitOk;
}
