#include "core/atomicfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

#include "core/filedescriptor.h"
#include "core/fileerror.h"
#include "core/filemode.h"

namespace {

namespace fs = std::filesystem;

// As many links as the kernel follows before it reports a loop.
constexpr int MaxLinkHops = 40;

// The file a symbolic link (or a chain of them) finally names; path itself otherwise.
std::string ResolveLinks(const std::string& path, const std::string& cannotCreate) {
    fs::path current = path;
    for (int hops = 0; hops < MaxLinkHops; ++hops) {
        struct stat st;
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current.string();
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) throw EFileError(cannotCreate);
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    throw EFileError(cannotCreate);
}

bool FolderTakesNewFile(const std::string& folder) {
    struct stat st;
    return ::stat(folder.c_str(), &st) == 0 && ModeAllows(st, MayWriteAndSearch);
}

// The number of bytes written, -1 when a write failed (the source's later pieces are
// then passed over).
off_t WriteAll(int fd, const TByteSource& bytes) {
    off_t written = 0;
    bytes([&](std::string_view piece) {
        if (written < 0) return;
        written = WriteFully(fd, piece) ? written + static_cast<off_t>(piece.size()) : -1;
    });
    return written;
}

// Short, so that the longest target name still leaves room; random, so that nobody can
// plant a link at it in advance.
std::string TemporaryName(std::random_device& random) {
    constexpr char Digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::uint64_t bits = std::uint64_t{random()} << 32 | random();
    std::string name = ".~";
    for (int i = 0; i < 10; ++i, bits /= 36) name += Digits[bits % 36];
    return name + ".tmp";
}

// The temporary file beside the target, created exclusively and without following a link;
// -1 with errno set when the folder takes none.
int CreateTemporary(const std::string& folder, std::string& name) {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/" + TemporaryName(random);
        const int fd =
            ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The old file's owner where permitted (else at least its group), then its mode; a new
// file gets the mode any newly created file gets.
void GiveAttributes(int fd, const struct stat* old) {
    if (old == nullptr) {
        ::fchmod(fd, 0666 & ~CurrentUmask());
        return;
    }
    if (::fchown(fd, old->st_uid, old->st_gid) != 0) {
        [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
    }
    ::fchmod(fd, old->st_mode & 07777);  // after fchown, which may clear set-id bits
}

// Overwrites the file itself: it keeps its inode, links, mode and owner.
void WriteInPlace(const std::string& target, const TByteSource& bytes,
                  const std::string& cannotCreate) {
    TFileDescriptor fd(::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (!fd || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) throw EFileError(cannotCreate);
    const off_t size = WriteAll(fd.Get(), bytes);
    if (size < 0 || ::ftruncate(fd.Get(), size) != 0 || ::fsync(fd.Get()) != 0 || !fd.Close())
        throw EFileError("Stream write error");
}

// Removes the temporary file unless the rename made it the target.
class TTemporaryFile {
public:
    explicit TTemporaryFile(std::string name) : name_(std::move(name)) {}
    ~TTemporaryFile() {
        if (!name_.empty()) ::unlink(name_.c_str());
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;
    const std::string& Name() const { return name_; }
    void Keep() { name_.clear(); }

private:
    std::string name_;
};

void SyncFolder(const std::string& folder) {
    TFileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd) ::fsync(fd.Get());
}

// Writes a temporary file and renames it over the target. False when the folder refuses
// a new file or the replacement while the old file (old) exists: it is then to be written
// in place.
bool ReplaceThroughTemporary(const std::string& folder, const std::string& target,
                             const TByteSource& bytes, const struct stat* old,
                             const std::string& cannotCreate) {
    std::string name;
    TFileDescriptor fd(CreateTemporary(folder, name));
    if (!fd) {
        if (old != nullptr && (errno == EACCES || errno == EPERM || errno == EROFS)) return false;
        throw EFileError(errno == ENOSPC || errno == EDQUOT ? "Stream write error" : cannotCreate);
    }
    TTemporaryFile temp(name);
    GiveAttributes(fd.Get(), old);
    if (WriteAll(fd.Get(), bytes) < 0 || ::fsync(fd.Get()) != 0 || !fd.Close())
        throw EFileError("Stream write error");
    if (::rename(temp.Name().c_str(), target.c_str()) != 0) {
        // A sticky shared folder lets only the owner replace a file that others may write.
        if (old != nullptr && (errno == EPERM || errno == EACCES)) return false;
        throw EFileError("Stream write error");
    }
    temp.Keep();
    SyncFolder(folder);
    return true;
}

}  // namespace

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
    WriteFileAtomically(path, [bytes](const TByteSink& sink) { sink(bytes); });
}

void WriteFileAtomically(const std::string& path, const TByteSource& bytes) {
    const std::string cannotCreate = "Cannot create file " + path;
    if (path.empty()) throw EFileError(cannotCreate);
    const std::string target = ResolveLinks(path, cannotCreate);
    struct stat old;
    const bool exists = ::lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) throw EFileError(cannotCreate);
    if (exists && (!S_ISREG(old.st_mode) || !ModeAllows(old, MayWrite)))
        throw EFileError(cannotCreate);

    const fs::path parent = fs::path(target).parent_path();
    const std::string folder = parent.empty() ? std::string(".") : parent.string();
    const bool inPlace = exists && (old.st_nlink > 1 || !FolderTakesNewFile(folder));
    if (inPlace ||
        !ReplaceThroughTemporary(folder, target, bytes, exists ? &old : nullptr, cannotCreate))
        WriteInPlace(target, bytes, cannotCreate);
}
