#include "asm/asmfile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "asm/asmparse.h"
#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/readfile.h"

namespace {

// Far beyond any program for a 256-byte machine, and small enough that every line and
// column stays well inside the assembler's int positions.
constexpr std::size_t MaxSourceBytes = 256u << 20;

}  // namespace

std::string ReadSource(const std::string& name, const TReadStart& read) {
    std::string bytes = read(MaxSourceBytes + 1);
    if (bytes.size() > MaxSourceBytes)
        throw EFileError("The source " + name + " is larger than 256 MiB; it was not read.", name,
                         "larger than 256 MiB, the most a source may have");
    return bytes;
}

std::string ReadSourceFile(const std::string& path) {
    return ReadSource(path, [&](std::size_t limit) { return ReadFileStart(path, limit); });
}

bool IsSourcePath(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".asm";
}

std::string SourcePosition(const std::string& path, int line, int column) {
    return path + ':' + std::to_string(line + 1) + ':' + std::to_string(column + 1) + ": ";
}

std::bitset<256> TAssembledSource::Placed() const {
    std::bitset<256> placed;
    for (std::size_t a = 0; a < 256; ++a) placed.set(a, Placement[a] != TPlaced::Nothing);
    return placed;
}

std::optional<TAssembledSource> AssembleFile(const std::string& path,
                                             const TAsmFileReport& report) {
    return AssembleSource(ReadSourceFile(path), report);
}

std::optional<TAssembledSource> AssembleSource(std::string_view fileBytes,
                                               const TAsmFileReport& report) {
    const TMemoryTextSource source(DecodeSourceFile(fileBytes));
    TAsmParser parser(source);
    bool failed = false;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        report(line, column, message);
        failed = true;
    });
    if (failed) return std::nullopt;
    TAssembledSource assembly;
    for (int a = 0; a < 256; ++a) {
        assembly.Image[std::size_t(a)] = parser.MemoryByte(a);
        assembly.Lines[std::size_t(a)] = parser.SourceLine(a);
    }
    assembly.Placement = parser.Placement();
    assembly.Warnings = AsmWarnings(parser);
    return assembly;
}
