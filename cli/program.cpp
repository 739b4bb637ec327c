#include "cli/program.h"

TMemoryImage LoadProgram(const std::string& path, std::ostream&) { return ReadMemoryFile(path); }
