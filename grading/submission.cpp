#include "grading/submission.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "asm/asmfile.h"
#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/readfile.h"

namespace fs = std::filesystem;

namespace {

bool HasProgramName(const fs::path& path) {
    if (IsSourcePath(path.string())) return true;
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".prg";
}

// Why an entry with a program's name is not graded; empty for a regular file (or a link to
// one), which is.
std::string SkipReason(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_status status = entry.status(ec);
    if (ec) {
        std::error_code linkEc;
        if (ec == std::errc::no_such_file_or_directory && entry.is_symlink(linkEc))
            return "a link to nothing";
        return ec.message();
    }
    switch (status.type()) {
        case fs::file_type::regular:
            return {};
        case fs::file_type::directory:
            return "a folder, not a regular file";
        case fs::file_type::fifo:
            return "a pipe, not a regular file";
        case fs::file_type::socket:
            return "a socket, not a regular file";
        case fs::file_type::block:
        case fs::file_type::character:
            return "a device, not a regular file";
        default:
            return "not a regular file";
    }
}

// What a report says of a file error: the window's text, and why where that text alone
// does not say ("Stream read error: 1000 bytes, a memory image has 1024").
std::string ErrorText(const EFileError& e) {
    const std::string text = e.what();
    return text == "Stream read error" && !e.Reason().empty() ? text + ": " + e.Reason() : text;
}

}  // namespace

TLoadedProgram TryLoadProgram(const std::string& path) {
    std::string bytes;
    try {
        bytes =
            IsSourcePath(path) ? ReadSourceFile(path) : ReadFileStart(path, MemoryImageFileSize);
    } catch (const EFileError& e) {
        TLoadedProgram unreadable;
        unreadable.Errors.push_back(ErrorText(e));
        unreadable.Unreadable = true;
        return unreadable;
    }
    return LoadProgramBytes(path, bytes);
}

TLoadedProgram LoadProgramBytes(const std::string& name, std::string_view bytes) {
    return LoadProgramBytes(name, bytes, IsSourcePath(name));
}

TLoadedProgram LoadProgramBytes(const std::string& name, std::string_view bytes, bool source) {
    TLoadedProgram loaded;
    try {
        if (!source) {
            loaded.Image = TProgramImage(ParseMemoryImage(bytes));
        } else {
            // The assembler works in code page 437; the reports are UTF-8.
            const auto assembly =
                AssembleSource(bytes, [&](int line, int column, std::string_view text) {
                    loaded.Errors.push_back(SourcePosition(name, line, column) + Cp437ToUtf8(text));
                });
            if (assembly) {
                loaded.Image = TProgramImage(assembly->Image, assembly->Placed());
                for (const TAsmWarning& w : assembly->Warnings)
                    loaded.Warnings.push_back(SourcePosition(name, w.Line, w.Column) +
                                              "warning: " + Cp437ToUtf8(w.Text));
            }
        }
    } catch (const EFileError& e) {
        loaded.Errors.push_back(ErrorText(e));
        loaded.Unreadable = true;
    }
    return loaded;
}

void AddPrograms(const std::string& name, std::vector<std::string>& programs,
                 std::vector<TSkippedFile>& skipped) {
    std::error_code ec;
    if (!fs::is_directory(name, ec)) {
        if (!fs::exists(name, ec))
            throw EFileError(
                "Cannot open file " + name, name,
                (ec ? ec : std::make_error_code(std::errc::no_such_file_or_directory)).message());
        programs.push_back(name);
        return;
    }
    std::vector<fs::path> found;
    std::vector<std::pair<fs::path, std::string>> passed;  // skipped entries, with why
    fs::directory_iterator it(name, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!HasProgramName(it->path())) continue;
        std::string why = SkipReason(*it);
        if (why.empty())
            found.push_back(it->path().filename());
        else
            passed.emplace_back(it->path().filename(), std::move(why));
    }
    if (ec)
        throw EFileError("Cannot read folder " + name + ": " + ec.message(), name, ec.message());
    if (found.empty() && passed.empty())
        throw EFileError("No .asm or .prg file in folder " + name, name,
                         "no .asm or .prg file in it");
    std::sort(found.begin(), found.end());
    std::sort(passed.begin(), passed.end());
    for (const fs::path& file : found) programs.push_back((fs::path(name) / file).string());
    for (const auto& [file, why] : passed)
        skipped.push_back({(fs::path(name) / file).string(), why});
}
