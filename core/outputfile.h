#pragma once
// Where a command's output goes when the user names a file: a report is saved whole, so a
// failure leaves the old file (see atomicfile.h); a trace, too long to hold, is written as
// it is made. A character device such as /dev/null takes either straight through: there
// is nothing there to replace.

#include <string>
#include <string_view>

#include "core/filedescriptor.h"

// Writes bytes straight to a character device, or else saves them as WriteFileAtomically
// does, with its refusals. Throws EFileError.
void WriteOutputFile(const std::string& path, std::string_view bytes);

// Opens path to write a stream into: a character device as it is, a regular file the user
// may write emptied in place (it keeps its inode, links, mode and owner), or a new file.
// Throws EFileError "Cannot create file %s" for anything else: a read-only file (for root
// too), a folder, a pipe, a missing folder.
TFileDescriptor OpenStreamFile(const std::string& path);
