#include "cli/program.h"

#include <filesystem>

#include "asm/asmfile.h"

TMemoryImage AssembleSourceFile(const std::string& path, std::ostream& err) {
    int errors = 0;
    const auto image = AssembleFile(path, [&](int line, int column, std::string_view message) {
        err << SourcePosition(path, line, column) << message << '\n';
        ++errors;
    });
    if (!image) throw EAssemblyFailed(std::to_string(errors) + " errors in " + path);
    return *image;
}

TMemoryImage LoadProgram(const std::string& path, std::ostream& err) {
    return IsSourcePath(path) ? AssembleSourceFile(path, err) : ReadMemoryFile(path);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}
