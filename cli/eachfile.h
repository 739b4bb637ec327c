#pragma once
// Running a command's work and reporting its errors as the tool does, for the whole command
// or for each of several files in turn.

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Runs work and returns its status; a usage, file or assembly error it throws is written
// to err ("quarzel-cli: PATH: REASON" for a file error that knows them, else
// "quarzel-cli COMMAND: MESSAGE") and the status is then ExitError.
int Guarded(const std::string& command, std::ostream& err, const std::function<int()>& work);

// Runs work on each file in turn (index counts them from 0), guarded, so that one file's
// error does not stop the others; returns the first status that is not ExitOk (ExitOk when
// there is none).
int EachFile(const std::string& command, const std::vector<std::string>& files, std::ostream& err,
             const std::function<int(const std::string& file, std::size_t index)>& work);

// "==> NAME <==" on a line of its own before a file's part of the output, after an empty
// line unless it is the first; nothing when there is only one file.
void FileHeader(std::ostream& out, const std::vector<std::string>& files, std::size_t index,
                const char* lineEnd);

// Refuses a command line that names standard input ("-") more than once: it can be read
// only once.
void CheckOneStandardInput(const std::vector<std::string>& files);
