#include "cli/stdstream.h"

#include <algorithm>

#include "core/fileerror.h"

bool IsStandardStream(const std::string& name) {
    return name == StandardStream;
}

std::string ShownName(const std::string& name) {
    return IsStandardStream(name) ? StandardInputName : name;
}

std::string ReadStandardInput(std::istream& in, std::size_t limit) {
    // Grown as bytes arrive, never by what the stream might hold.
    constexpr std::size_t Chunk = std::size_t{1} << 16;
    std::string bytes;
    while (bytes.size() < limit && in.good()) {
        const std::size_t have = bytes.size();
        bytes.resize(have + std::min(Chunk, limit - have));
        in.read(bytes.data() + have, static_cast<std::streamsize>(bytes.size() - have));
        bytes.resize(have + static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw EFileError("Stream read error", StandardInputName,
                         "standard input could not be read");
    return bytes;
}
