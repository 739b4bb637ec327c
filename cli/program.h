#pragma once
// Loads the program a subcommand works on from a file named on the command line: a memory
// image, or an assembly source that is assembled first; "-" reads it from standard input.

#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "asm/asmfile.h"
#include "core/simulation.h"

// The assembler found errors; they have been written to the error stream already.
class EAssemblyFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Assembles the source file at path ("-": standard input, called <stdin>). Each report
// goes to err as "PATH:LINE:COLUMN: MESSAGE", line and column counted from 1; then throws
// EAssemblyFailed. Without errors, each warning goes to err as "PATH:LINE:COLUMN: warning:
// TEXT" unless warnings is false. Throws EFileError when the source cannot be read.
TAssembledSource AssembleSourceFile(const std::string& path, std::istream& in, std::ostream& err,
                                    bool warnings = true);

// A program on standard input: a memory image when its start looks like one
// (LooksLikeMemoryImage), else a source. Reads no more than either may have.
struct TStandardProgram {
    std::string Bytes;
    bool Source;
};
TStandardProgram ReadStandardProgram(std::istream& in);

// A path ending in ".asm" (any case) is a source and is assembled, with its source map and
// placement; anything else is read as a memory image; "-" is standard input, either.
// Throws as AssembleSourceFile and ReadMemoryFile do.
TProgramLoad LoadProgram(const std::string& path, std::istream& in, std::ostream& err,
                         bool warnings = true);

// Whether two names stand for one file (the same name, a link, another spelling): what a
// command writes must never replace the program or test file it reads. Standard input and
// output ("-") are no file.
bool SameFile(const std::string& a, const std::string& b);
