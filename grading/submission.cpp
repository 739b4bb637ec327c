#include "grading/submission.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "asm/asmfile.h"
#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/readfile.h"

namespace fs = std::filesystem;

namespace {

bool IsProgramFile(const fs::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    if (IsSourcePath(entry.path().string())) return true;
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".prg";
}

}  // namespace

TLoadedProgram TryLoadProgram(const std::string& path) {
    std::string bytes;
    try {
        bytes =
            IsSourcePath(path) ? ReadSourceFile(path) : ReadFileStart(path, MemoryImageFileSize);
    } catch (const EFileError& e) {
        return {std::nullopt, {e.what()}};
    }
    return LoadProgramBytes(path, bytes);
}

TLoadedProgram LoadProgramBytes(const std::string& name, std::string_view bytes) {
    TLoadedProgram loaded;
    try {
        if (!IsSourcePath(name))
            loaded.Image = ParseMemoryImage(bytes);
        else
            loaded.Image = AssembleSource(bytes, [&](int line, int column, std::string_view text) {
                // The assembler works in code page 437; the reports are UTF-8.
                loaded.Errors.push_back(SourcePosition(name, line, column) + Cp437ToUtf8(text));
            });
    } catch (const EFileError& e) {
        loaded.Errors.push_back(e.what());
    }
    return loaded;
}

void AddPrograms(const std::string& name, std::vector<std::string>& programs) {
    std::error_code ec;
    if (!fs::is_directory(name, ec)) {
        if (!fs::exists(name, ec)) throw EFileError("Cannot open file " + name);
        programs.push_back(name);
        return;
    }
    std::vector<fs::path> found;
    fs::directory_iterator it(name, ec), end;
    for (; !ec && it != end; it.increment(ec))
        if (IsProgramFile(*it)) found.push_back(it->path().filename());
    if (ec) throw EFileError("Cannot read folder " + name + ": " + ec.message());
    if (found.empty()) throw EFileError("No .asm or .prg file in folder " + name);
    std::sort(found.begin(), found.end());
    for (const fs::path& file : found) programs.push_back((fs::path(name) / file).string());
}
