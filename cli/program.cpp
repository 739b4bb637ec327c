#include "cli/program.h"

#include <filesystem>

TAssembledSource AssembleSourceFile(const std::string& path, std::ostream& err, bool warnings) {
    int errors = 0;
    const auto assembly = AssembleFile(path, [&](int line, int column, std::string_view message) {
        err << SourcePosition(path, line, column) << message << '\n';
        ++errors;
    });
    if (!assembly) throw EAssemblyFailed(std::to_string(errors) + " errors in " + path);
    if (warnings)
        for (const TAsmWarning& w : assembly->Warnings)
            err << SourcePosition(path, w.Line, w.Column) << "warning: " << w.Text << '\n';
    return *assembly;
}

TProgramLoad LoadProgram(const std::string& path, std::ostream& err, bool warnings) {
    if (!IsSourcePath(path)) return TProgramLoad(ReadMemoryFile(path));
    const TAssembledSource assembly = AssembleSourceFile(path, err, warnings);
    TProgramLoad program(assembly.Image);
    program.Source = assembly.Lines;
    program.Placement = assembly.Placement;
    return program;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}
