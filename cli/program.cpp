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

// "PATH:LINE:COLUMN: " of a 0-based position, counted from 1 as compilers do.
std::string Where(const std::string& path, int line, int column) {
    return path + ':' + std::to_string(line + 1) + ':' + std::to_string(column + 1) + ": ";
}

// The image of the source at path, or nothing when the assembler reported errors, each of
// which went to report (0-based line and column, message).
template <class Report>
std::optional<TMemoryImage> AssembleSource(const std::string& path, Report report) {
    const TMemoryTextSource source(DecodeSourceFile(ReadSourceFile(path)));
    TAsmParser parser(source);
    bool failed = false;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        report(line, column, message);
        failed = true;
    });
    if (failed) return std::nullopt;
    TMemoryImage image{};
    for (int a = 0; a < 256; ++a) image[a] = parser.MemoryByte(a);
    return image;
}

}  // namespace

bool IsSourcePath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".asm";
}

TMemoryImage AssembleSourceFile(const std::string& path, std::ostream& err) {
    int errors = 0;
    const auto image = AssembleSource(path, [&](int line, int column, std::string_view message) {
        err << Where(path, line, column) << message << '\n';
        ++errors;
    });
    if (!image) throw EAssemblyFailed(std::to_string(errors) + " errors in " + path);
    return *image;
}

TLoadedProgram TryLoadProgram(const std::string& path) {
    TLoadedProgram loaded;
    try {
        if (!IsSourcePath(path))
            loaded.Image = ReadMemoryFile(path);
        else
            loaded.Image = AssembleSource(path, [&](int line, int column, std::string_view text) {
                // The assembler works in code page 437; the reports are UTF-8.
                loaded.Errors.push_back(Where(path, line, column) + Cp437ToUtf8(text));
            });
    } catch (const EFileError& e) {
        loaded.Errors.push_back(e.what());
    }
    return loaded;
}

TMemoryImage LoadProgram(const std::string& path, std::ostream& err) {
    return IsSourcePath(path) ? AssembleSourceFile(path, err) : ReadMemoryFile(path);
}
