#pragma once
// Memory image files (*.prg): 256 entries of a 32-bit little-endian value each,
// 1024 bytes, nothing else. Longer files load from their first 1024 bytes.

#include <array>
#include <string>

#include "core/fileerror.h"

using TMemoryImage = std::array<int, 256>;

// Throws EFileError ("Cannot open file %s", the refusal of a device, pipe or socket,
// "Stream read error", or a refusal of an entry outside 0..255 naming its address).
// Nothing is returned unless all of it is good.
TMemoryImage ReadMemoryFile(const std::string& path);

// Writes beside the file and renames into place, so a failed save leaves the old
// file whole. Throws EFileError ("Cannot create file %s", "Stream write error").
void WriteMemoryFile(const std::string& path, const TMemoryImage& values);
