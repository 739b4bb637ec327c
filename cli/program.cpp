#include "cli/program.h"

#include <filesystem>

#include "asm/asmfile.h"
#include "cli/stdstream.h"

namespace {

TMemoryImage Assemble(const std::string& name, std::string_view bytes, std::ostream& err) {
    int errors = 0;
    const auto image = AssembleSource(bytes, [&](int line, int column, std::string_view message) {
        err << SourcePosition(name, line, column) << message << '\n';
        ++errors;
    });
    if (!image) throw EAssemblyFailed(std::to_string(errors) + " errors in " + name);
    return *image;
}

TReadStart StandardInputReader(std::istream& in) {
    return [&in](std::size_t limit) { return ReadStandardInput(in, limit); };
}

}  // namespace

TMemoryImage AssembleSourceFile(const std::string& path, std::istream& in, std::ostream& err) {
    const std::string bytes = IsStandardStream(path)
                                  ? ReadSource(StandardInputName, StandardInputReader(in))
                                  : ReadSourceFile(path);
    return Assemble(ShownName(path), bytes, err);
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

TMemoryImage LoadProgram(const std::string& path, std::istream& in, std::ostream& err) {
    if (!IsStandardStream(path))
        return IsSourcePath(path) ? AssembleSourceFile(path, in, err) : ReadMemoryFile(path);
    const TStandardProgram program = ReadStandardProgram(in);
    return program.Source ? Assemble(StandardInputName, program.Bytes, err)
                          : ParseMemoryImage(program.Bytes, StandardInputName);
}

bool SameFile(const std::string& a, const std::string& b) {
    if (IsStandardStream(a) || IsStandardStream(b)) return false;
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}
