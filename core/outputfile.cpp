#include "core/outputfile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/filemode.h"

namespace {

// path opened for writing when it is a character device; no descriptor for anything else.
TFileDescriptor OpenDevice(const std::string& path) {
    // Without O_NONBLOCK, opening a pipe would wait for a reader before fstat could see it.
    TFileDescriptor fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st;
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISCHR(st.st_mode)) return TFileDescriptor(-1);
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags == -1 || ::fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK) == -1)
        return TFileDescriptor(-1);
    return fd;
}

}  // namespace

void WriteOutputFile(const std::string& path, std::string_view bytes) {
    TFileDescriptor device = OpenDevice(path);
    if (!device) return WriteFileAtomically(path, bytes);
    if (!WriteFully(device.Get(), bytes) || !device.Close()) throw EFileError("Stream write error");
}

TFileDescriptor OpenStreamFile(const std::string& path) {
    if (TFileDescriptor device = OpenDevice(path)) return device;
    // Not truncated on opening: a file that turns out read-only must stay as it was.
    TFileDescriptor fd(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    struct stat st;
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || !ModeAllows(st, MayWrite) ||
        ::ftruncate(fd.Get(), 0) != 0)
        throw EFileError("Cannot create file " + path);
    return fd;
}
