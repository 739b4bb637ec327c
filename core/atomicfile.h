#pragma once
// Saving that never destroys the old file: the bytes go to a temporary file in the
// same folder, which is renamed over the target only when all of it was written.

#include <string>
#include <string_view>

// The temporary file a save of path writes first.
std::string TemporaryNameFor(const std::string& path);

// Throws EFileError: "Cannot create file %s" when no file can be made there,
// "Stream write error" when writing or replacing fails.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
