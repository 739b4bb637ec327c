#include "core/memfile.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/atomicfile.h"
#include "core/readfile.h"

TMemoryImage ParseMemoryImage(std::string_view file, const std::string& path) {
    if (file.size() < MemoryImageFileSize)
        throw EFileError("Stream read error", path,
                         std::to_string(file.size()) + " bytes, a memory image has " +
                             std::to_string(MemoryImageFileSize));
    const auto* bytes = reinterpret_cast<const unsigned char*>(file.data());

    TMemoryImage image{};
    for (int a = 0; a < 256; ++a) {
        const unsigned char* e = bytes + 4 * a;
        const uint32_t raw = e[0] | (e[1] << 8) | (e[2] << 16) | (uint32_t(e[3]) << 24);
        const int value = static_cast<int32_t>(raw);
        if (value < 0 || value > 255) {
            char why[80];
            std::snprintf(why, sizeof why,
                          "holds the value %d at address %02X, which is not a byte (0..255)", value,
                          a);
            throw EFileError(
                std::string("The file ") + why + "; it was not written by this program.", path,
                why);
        }
        image[a] = value;
    }
    return image;
}

bool LooksLikeMemoryImage(std::string_view bytes) {
    return bytes.size() >= 4 && bytes.substr(1, 3) == std::string_view("\0\0\0", 3);
}

std::string MemoryImageBytes(const TMemoryImage& values) {
    std::string bytes(MemoryImageFileSize, '\0');
    for (int a = 0; a < 256; ++a) {
        const uint32_t v = static_cast<uint32_t>(values[a]);
        for (int b = 0; b < 4; ++b) bytes[4 * a + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
    }
    return bytes;
}

TMemoryImage ReadMemoryFile(const std::string& path) {
    return ParseMemoryImage(ReadFileStart(path, MemoryImageFileSize), path);
}

void WriteMemoryFile(const std::string& path, const TMemoryImage& values) {
    WriteFileAtomically(path, MemoryImageBytes(values));
}
