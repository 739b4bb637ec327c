#pragma once
// Reading the files a user names: only regular files are read, and never more than the
// caller can use, whatever size the file system reports.

#include <cstddef>
#include <functional>
#include <string>

// Reads the first bytes of a named input, a file or a stream, at most limit of them; throws
// EFileError as ReadFileStart does.
using TReadStart = std::function<std::string(std::size_t limit)>;

// The first bytes of the regular file at path, at most limit of them (pass one more than
// the largest size taken, to tell a file that is too large). A device, pipe or socket is
// refused at once without blocking. Throws EFileError: "Cannot open file %s", "Cannot open
// file %s: it is a device (pipe, socket), not a regular file.", "Stream read error"; each
// with the path and the reason ("No such file or directory", "Is a directory", "Is a pipe,
// not a regular file", ...).
std::string ReadFileStart(const std::string& path, std::size_t limit);
