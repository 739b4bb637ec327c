#pragma once
// An open POSIX file descriptor, closed when it goes out of scope, so that no failure path
// leaks it.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : fd_(fd) {}
    ~TFileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    TFileDescriptor(TFileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes it now; false when closing reported an error (data that did not reach the file).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Writes all of bytes to fd, through interruptions and short writes; false when a write fails.
inline bool WriteFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), std::min<std::size_t>(bytes.size(), 1 << 30));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}
