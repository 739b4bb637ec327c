#include "core/atomicfile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/fileerror.h"

#ifndef _WIN32
#include <unistd.h>
#endif

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (path.empty() || fs::is_directory(path, ec)) {
        throw EFileError("Cannot create file " + path);
    }
#ifdef _WIN32
    const std::string temp = path + ".~tmp";
#else
    const std::string temp = path + ".~" + std::to_string(::getpid()) + ".tmp";
#endif
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
