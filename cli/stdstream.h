#pragma once
// "-" on the command line: standard input where a file is read, standard output where one
// is written, as Unix tools take it.

#include <cstddef>
#include <istream>
#include <string>

constexpr const char* StandardStream = "-";
// The name messages give standard input.
constexpr const char* StandardInputName = "<stdin>";

bool IsStandardStream(const std::string& name);

// The name messages give a file named on the command line.
std::string ShownName(const std::string& name);

// The next bytes of in, at most limit of them (pass one more than the most taken, to tell
// an input that is too long): memory stays bounded whatever a stream holds. Throws
// EFileError "Stream read error" naming <stdin> when the stream fails.
std::string ReadStandardInput(std::istream& in, std::size_t limit);
