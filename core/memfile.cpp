#include "core/memfile.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "core/atomicfile.h"

namespace {

constexpr size_t FileSize = 256 * 4;

}  // namespace

TMemoryImage ReadMemoryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || std::filesystem::is_directory(path)) throw EFileError("Cannot open file " + path);
    unsigned char bytes[FileSize];
    in.read(reinterpret_cast<char*>(bytes), FileSize);
    if (static_cast<size_t>(in.gcount()) != FileSize) throw EFileError("Stream read error");

    TMemoryImage image{};
    for (int a = 0; a < 256; ++a) {
        const unsigned char* e = bytes + 4 * a;
        const uint32_t raw = e[0] | (e[1] << 8) | (e[2] << 16) | (uint32_t(e[3]) << 24);
        const int value = static_cast<int32_t>(raw);
        if (value < 0 || value > 255) {
            char text[160];
            std::snprintf(text, sizeof text,
                          "The file holds the value %d at address %02X, which is not a byte "
                          "(0..255); it was not written by this program.",
                          value, a);
            throw EFileError(text);
        }
        image[a] = value;
    }
    return image;
}

void WriteMemoryFile(const std::string& path, const TMemoryImage& values) {
    std::string bytes(FileSize, '\0');
    for (int a = 0; a < 256; ++a) {
        const uint32_t v = static_cast<uint32_t>(values[a]);
        for (int b = 0; b < 4; ++b) bytes[4 * a + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
    }
    WriteFileAtomically(path, bytes);
}
