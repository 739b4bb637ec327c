#include <filesystem>

#include "cli/args.h"
#include "cli/cli.h"
#include "cli/eachfile.h"
#include "cli/program.h"
#include "cli/stdstream.h"

const char* const AssembleHelp =
    "usage: quarzel-cli assemble [OPTION]... SOURCE.asm...\n"
    "Assembles each source into a memory image file, by default the source's name\n"
    "with the extension .prg. Errors go to standard error, one per line, as\n"
    "SOURCE.asm:LINE:COLUMN: MESSAGE (counted from 1); then that image is not\n"
    "written and the exit status is 1. The source is read as UTF-8 and converted to\n"
    "code page 437; a file that is not UTF-8 is taken byte for byte.\n"
    "Warnings about classic mistakes (loading a data label's address, running into\n"
    "db data, no halt, a jump into data or to an odd address, a label never used)\n"
    "go to standard error as SOURCE.asm:LINE:COLUMN: warning: TEXT and change\n"
    "neither the image nor the exit status.\n"
    "\n"
    "options:\n"
    "  -o, --output IMAGE    write the image to IMAGE (one source only); - writes it\n"
    "                        to standard output\n"
    "  --no-warnings         leave the warnings out\n"
    "  -h, --help            print this help\n"
    "\n"
    "A SOURCE named - is standard input, which needs -o. -- ends the options.\n";

namespace {

// The image name: given with -o, or the source's with the extension .prg. Never the source
// itself, which a failed naming would overwrite.
std::string ImagePath(const std::string& source, const std::optional<std::string>& given) {
    namespace fs = std::filesystem;
    if (!given && IsStandardStream(source))
        throw EUsageError("name the image of standard input with -o");
    const std::string image = given ? *given : fs::path(source).replace_extension(".prg").string();
    if (SameFile(image, source))
        throw EUsageError("the image would overwrite the source " + source + "; name it with -o");
    return image;
}

}  // namespace

int AssembleCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                    std::ostream& err) {
    const TArgs parsed(args, {{"-o"}, {"--no-warnings"}, 1, true});
    const std::vector<std::string>& sources = parsed.Positionals();
    const std::optional<std::string> given = parsed.Value("-o");
    if (given && sources.size() > 1)
        throw EUsageError("-o names one image, so it takes one source, not " +
                          std::to_string(sources.size()));
    CheckOneStandardInput(sources);
    return EachFile("assemble", sources, err, [&](const std::string& source, std::size_t) {
        const std::string image = ImagePath(source, given);
        const TMemoryImage assembled =
            AssembleSourceFile(source, in, err, !parsed.Has("--no-warnings")).Image;
        if (IsStandardStream(image))
            out << MemoryImageBytes(assembled);
        else
            WriteMemoryFile(image, assembled);
        return ExitOk;
    });
}
