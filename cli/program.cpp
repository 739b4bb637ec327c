#include "cli/program.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "asm/asmparse.h"
#include "core/cp437.h"
#include "core/readfile.h"

namespace {

// Far beyond any program for a 256-byte machine, and small enough that every line and
// column stays well inside the assembler's int positions.
constexpr std::size_t MaxSourceBytes = 256u << 20;

std::string ReadSourceFile(const std::string& path) {
    std::string bytes = ReadFileStart(path, MaxSourceBytes + 1);
    if (bytes.size() > MaxSourceBytes)
        throw EFileError("The source " + path + " is larger than 256 MiB; it was not read.");
    return bytes;
}

bool IsSourcePath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".asm";
}

}  // namespace

TMemoryImage AssembleSourceFile(const std::string& path, std::ostream& err) {
    // The file's bytes are dropped as soon as they are decoded.
    const TMemoryTextSource source(DecodeSourceFile(ReadSourceFile(path)));
    TAsmParser parser(source);
    int errors = 0;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        err << path << ':' << line + 1 << ':' << column + 1 << ": " << message << '\n';
        ++errors;
    });
    if (errors > 0) throw EAssemblyFailed(std::to_string(errors) + " errors in " + path);
    TMemoryImage image{};
    for (int a = 0; a < 256; ++a) image[a] = parser.MemoryByte(a);
    return image;
}

TMemoryImage LoadProgram(const std::string& path, std::ostream& err) {
    return IsSourcePath(path) ? AssembleSourceFile(path, err) : ReadMemoryFile(path);
}
