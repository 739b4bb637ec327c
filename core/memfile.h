#pragma once
// Memory image files (*.prg): 256 entries of a 32-bit little-endian value each,
// 1024 bytes, nothing else. Longer files load from their first 1024 bytes.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/fileerror.h"

using TMemoryImage = std::array<int, 256>;

constexpr std::size_t MemoryImageFileSize = 256 * 4;

// The image a file's bytes hold (only the first MemoryImageFileSize count). Throws
// EFileError ("Stream read error" when there are fewer, or a refusal of an entry outside
// 0..255 naming its address), with path (the file's name, where there is one) and why.
TMemoryImage ParseMemoryImage(std::string_view bytes, const std::string& path = {});
// Whether bytes may be the start of a memory image: every image's second to fourth bytes
// are 0, which no text has. Tells an image from a source where there is no file name.
bool LooksLikeMemoryImage(std::string_view bytes);
// The file's bytes for an image.
std::string MemoryImageBytes(const TMemoryImage& values);

// Throws EFileError ("Cannot open file %s", the refusal of a device, pipe or socket,
// or as ParseMemoryImage). Nothing is returned unless all of it is good.
TMemoryImage ReadMemoryFile(const std::string& path);

// Writes beside the file and renames into place, so a failed save leaves the old
// file whole. Throws EFileError ("Cannot create file %s", "Stream write error").
void WriteMemoryFile(const std::string& path, const TMemoryImage& values);
