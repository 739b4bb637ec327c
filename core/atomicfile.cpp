#include "core/atomicfile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/fileerror.h"

#ifndef _WIN32
#include <unistd.h>
#endif

std::string TemporaryNameFor(const std::string& path) {
#ifdef _WIN32
    return path + ".~tmp";
#else
    return path + ".~" + std::to_string(::getpid()) + ".tmp";
#endif
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) {
        throw EFileError("Cannot create file " + path);
    }
    const std::string temp = TemporaryNameFor(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) throw EFileError("Cannot create file " + path);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            throw EFileError("Stream write error");
        }
    }
#ifndef _WIN32
    // Keep the data on disk before the rename makes it the file.
    if (FILE* f = std::fopen(temp.c_str(), "rb")) {
        ::fsync(fileno(f));
        std::fclose(f);
    }
#endif
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw EFileError("Stream write error");
    }
}
