#include "core/readfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/filedescriptor.h"
#include "core/fileerror.h"

namespace {

// Read no more than this in one call, and grow by at least this when a file turns out
// longer than reported.
constexpr std::size_t Chunk = std::size_t{1} << 20;

// The refusal of a special file; the plain "Cannot open" for anything else, with the
// system's reason (error) or, for a folder, "Is a directory".
EFileError OpenError(const std::string& path, const struct stat* st, int error) {
    const std::string text = "Cannot open file " + path;
    if (st != nullptr && S_ISDIR(st->st_mode)) return EFileError(text, path, std::strerror(EISDIR));
    if (st == nullptr || S_ISREG(st->st_mode)) return EFileError(text, path, std::strerror(error));
    const char* kind = S_ISCHR(st->st_mode) || S_ISBLK(st->st_mode) ? "a device"
                       : S_ISFIFO(st->st_mode)                      ? "a pipe"
                       : S_ISSOCK(st->st_mode)                      ? "a socket"
                                                                    : "special";
    const std::string why = std::string(kind) + ", not a regular file";
    return EFileError(text + ": it is " + why + ".", path, "Is " + why);
}

EFileError ReadError(const std::string& path) {
    return EFileError("Stream read error", path, std::strerror(errno));
}

}  // namespace

std::string ReadFileStart(const std::string& path, std::size_t limit) {
    // Without O_NONBLOCK, opening a pipe would wait for a writer before fstat could see it.
    TFileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!fd) {
        // A socket cannot be opened at all; name it all the same.
        const int error = errno;
        const bool known = ::stat(path.c_str(), &st) == 0;
        throw OpenError(path, known ? &st : nullptr, error);
    }
    if (::fstat(fd.Get(), &st) != 0) throw OpenError(path, nullptr, errno);
    if (!S_ISREG(st.st_mode)) throw OpenError(path, &st, 0);
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags == -1 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) == -1) throw ReadError(path);

    // Room for the reported size and one byte more, so that a file of the size it claims
    // reaches its end without growing the buffer.
    std::string bytes(std::min(limit, static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + 1),
                      '\0');
    std::size_t have = 0;
    while (have < limit) {
        if (have == bytes.size()) bytes.resize(std::min(limit, have + std::max(have, Chunk)));
        const ssize_t n =
            ::read(fd.Get(), bytes.data() + have, std::min(bytes.size() - have, Chunk));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw ReadError(path);
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    bytes.resize(have);
    return bytes;
}
