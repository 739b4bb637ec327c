#pragma once
// Saving that never destroys the old file: the bytes go to a new file beside the target,
// created exclusively under an unpredictable name, which is renamed over the target only
// when all of it is on disk. A symbolic link is saved through to its target; the old
// file's mode and owner are kept where permitted. A file with other hard links, or in a
// folder that cannot take a new file, is written in place instead.

#include <string>
#include <string_view>

// Throws EFileError: "Cannot create file %s" when the file may not or cannot be written
// (a read-only file, a folder, a device or pipe, a missing folder), "Stream write error"
// when writing fails (a full disk). Apart from a failed write in place, a failure leaves
// the old file as it was and no temporary file behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
