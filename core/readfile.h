#pragma once
// Reading the files a user names: only regular files are read, and never more than the
// caller can use, whatever size the file system reports.

#include <cstddef>
#include <string>

// The first bytes of the regular file at path, at most limit of them (pass one more than
// the largest size taken, to tell a file that is too large). A device, pipe or socket is
// refused at once without blocking. Throws EFileError: "Cannot open file %s", "Cannot open
// file %s: it is a device (pipe, socket), not a regular file.", "Stream read error".
std::string ReadFileStart(const std::string& path, std::size_t limit);
