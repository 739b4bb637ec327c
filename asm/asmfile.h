#pragma once
// Assembling a source file read from disk, for the tools that take programs by file name:
// the command-line tool's commands and the grader.

#include <array>
#include <bitset>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "asm/warnings.h"
#include "core/memfile.h"
#include "core/placement.h"
#include "core/readfile.h"

// True for a path ending in ".asm" (any case), the assembly sources.
bool IsSourcePath(const std::string& path);

// "PATH:LINE:COLUMN: " of a 0-based position, counted from 1 as compilers do.
std::string SourcePosition(const std::string& path, int line, int column);

// Receives each report of the assembler: 0-based line and column, and the message in code
// page 437.
using TAsmFileReport = std::function<void(int line, int column, std::string_view message)>;

// The bytes of the source called name, taken through read. Throws EFileError when they
// cannot be read or are more than 256 MiB.
std::string ReadSource(const std::string& name, const TReadStart& read);
// ReadSource of the file at path.
std::string ReadSourceFile(const std::string& path);

// What assembling a source without errors gives: the image, what its lines placed where
// (instructions and "db" data; Nothing elsewhere), the line of each placed byte (-1 for
// none) and the warnings.
struct TAssembledSource {
    TMemoryImage Image{};
    TPlacement Placement{};
    std::array<int, 256> Lines{};
    std::vector<TAsmWarning> Warnings;

    // The bytes the source's lines placed.
    std::bitset<256> Placed() const;
};

// The assembly of a source file's bytes (UTF-8, or 8-bit text when they are not UTF-8), or
// nothing when the assembler reported errors, each of which went to report.
std::optional<TAssembledSource> AssembleSource(std::string_view fileBytes,
                                               const TAsmFileReport& report);

// AssembleSource of the file at path; throws as ReadSourceFile.
std::optional<TAssembledSource> AssembleFile(const std::string& path, const TAsmFileReport& report);
