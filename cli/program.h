#pragma once
// Loads the program a subcommand works on from a file named on the command line.

#include <ostream>
#include <string>

#include "core/memfile.h"

// Reads a memory image. Throws EFileError with the text to show.
TMemoryImage LoadProgram(const std::string& path, std::ostream& err);
