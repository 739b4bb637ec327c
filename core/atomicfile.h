#pragma once
// Saving that never destroys the old file: the bytes go to a new file beside the target,
// created exclusively under an unpredictable name, which is renamed over the target only
// when all of it is on disk. A symbolic link is saved through to its target; the old
// file's mode and owner are kept where permitted. A file with other hard links, or in a
// folder that cannot take a new file, is written in place instead.

#include <functional>
#include <string>
#include <string_view>

// Where a file's bytes go, piece after piece.
using TByteSink = std::function<void(std::string_view)>;
// Hands a file's bytes, in order, to the sink it is given. A save may ask for them twice
// (when it has to fall back to writing in place), so it must give the same bytes each time.
using TByteSource = std::function<void(const TByteSink&)>;

// Throws EFileError: "Cannot create file %s" when the file may not or cannot be written
// (a read-only file, a folder, a device or pipe, a missing folder), "Stream write error"
// when writing fails (a full disk). Apart from a failed write in place, a failure leaves
// the old file as it was and no temporary file behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// The same for a file too large to hold in memory at once.
void WriteFileAtomically(const std::string& path, const TByteSource& bytes);
