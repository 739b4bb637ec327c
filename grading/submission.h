#pragma once
// The programs a grading run tests: named one by one or by the folder that holds them, and
// loaded so that one that fails to load is graded too, as failing every test.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grading/testrun.h"

struct TLoadedProgram {
    std::optional<TProgramImage> Image;
    // Why there is no image: the assembler's reports as "PATH:LINE:COLUMN: MESSAGE" in
    // UTF-8 (without line ends), or the file error's text.
    std::vector<std::string> Errors;
    bool Unreadable = false;  // the file could not be read (else: the source did not assemble)
    // The assembler's warnings about a source that assembled, as
    // "PATH:LINE:COLUMN: warning: TEXT" in UTF-8.
    std::vector<std::string> Warnings;
};

// Assembles a source (a path ending in ".asm", any case) or reads a memory image; every
// failure ends up in Errors instead of being thrown.
TLoadedProgram TryLoadProgram(const std::string& path);
// The same for a file's bytes held in memory; name stands for its path.
TLoadedProgram LoadProgramBytes(const std::string& name, std::string_view bytes);
// The same for bytes of the kind given (a source to assemble, or else a memory image),
// whatever name says: for an input without a file name.
TLoadedProgram LoadProgramBytes(const std::string& name, std::string_view bytes, bool source);

// An entry of a folder that has a program's name but is not graded, and why ("a pipe, not
// a regular file", "a link to nothing", the system's message when it cannot be examined).
struct TSkippedFile {
    std::string Path;
    std::string Why;
};

// Appends the programs name stands for: a folder's .asm and .prg files (any case), sorted
// by name, or else the file itself. A folder's entries with such a name that are no
// regular file (pipes, sockets, devices, folders, links to nothing, entries that cannot be
// examined) go to skipped instead, sorted by name. Throws EFileError when name does not
// exist, a folder cannot be read or holds neither a program nor a skipped entry.
void AddPrograms(const std::string& name, std::vector<std::string>& programs,
                 std::vector<TSkippedFile>& skipped);
