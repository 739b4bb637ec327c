#include "cli/program.h"

#include <filesystem>

#include "asm/asmfile.h"
#include "cli/stdstream.h"

namespace {

TAssembledSource Assemble(const std::string& name, std::string_view bytes, std::ostream& err,
                          bool warnings) {
    int errors = 0;
    const auto assembly =
        AssembleSource(bytes, [&](int line, int column, std::string_view message) {
            err << SourcePosition(name, line, column) << message << '\n';
            ++errors;
        });
    if (!assembly) throw EAssemblyFailed(std::to_string(errors) + " errors in " + name);
    if (warnings)
        for (const TAsmWarning& w : assembly->Warnings)
            err << SourcePosition(name, w.Line, w.Column) << "warning: " << w.Text << '\n';
    return *assembly;
}

TProgramLoad ProgramOf(const TAssembledSource& assembly) {
    TProgramLoad program(assembly.Image);
    program.Source = assembly.Lines;
    program.Placement = assembly.Placement;
    return program;
}

TReadStart StandardInputReader(std::istream& in) {
    return [&in](std::size_t limit) { return ReadStandardInput(in, limit); };
}

}  // namespace

TAssembledSource AssembleSourceFile(const std::string& path, std::istream& in, std::ostream& err,
                                    bool warnings) {
    const std::string bytes = IsStandardStream(path)
                                  ? ReadSource(StandardInputName, StandardInputReader(in))
                                  : ReadSourceFile(path);
    return Assemble(ShownName(path), bytes, err, warnings);
}

TStandardProgram ReadStandardProgram(std::istream& in) {
    std::string start = ReadStandardInput(in, MemoryImageFileSize);
    if (LooksLikeMemoryImage(start)) return {std::move(start), false};
    return {ReadSource(StandardInputName,
                       [&](std::size_t limit) {
                           return start + ReadStandardInput(in, limit - start.size());
                       }),
            true};
}

TProgramLoad LoadProgram(const std::string& path, std::istream& in, std::ostream& err,
                         bool warnings) {
    if (!IsStandardStream(path))
        return IsSourcePath(path) ? ProgramOf(AssembleSourceFile(path, in, err, warnings))
                                  : TProgramLoad(ReadMemoryFile(path));
    const TStandardProgram program = ReadStandardProgram(in);
    return program.Source ? ProgramOf(Assemble(StandardInputName, program.Bytes, err, warnings))
                          : TProgramLoad(ParseMemoryImage(program.Bytes, StandardInputName));
}

bool SameFile(const std::string& a, const std::string& b) {
    if (IsStandardStream(a) || IsStandardStream(b)) return false;
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}
