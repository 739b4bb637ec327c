#include "core/readfile.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/fileerror.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class ReadFile : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_read_"); }
    void TearDown() override {
        if (socket_ >= 0) ::close(socket_);
        fs::remove_all(dir_);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Socket() {
        const std::string path = Path("sock");
        socket_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return path;
    }
    static std::string Error(const std::string& path) {
        try {
            ReadFileStart(path, 100);
        } catch (const EFileError& e) {
            return e.what();
        }
        return "";
    }
    fs::path dir_;
    int socket_ = -1;
};

// Special files are refused at once and by name; /dev/zero would never end and a pipe
// without a writer would block the caller.
TEST_F(ReadFile, OnlyRegularFilesAreRead) {
    const struct {
        const char* name;
        std::function<std::string()> make;
        std::string why;  // after "Cannot open file PATH"
    } cases[] = {
        {"missing", [&] { return Path("missing"); }, ""},
        {"folder", [&] { return dir_.string(); }, ""},
        {"device", [] { return std::string("/dev/zero"); },
         ": it is a device, not a regular file."},
        {"pipe", [&] { return ::mkfifo(Path("fifo").c_str(), 0666), Path("fifo"); },
         ": it is a pipe, not a regular file."},
        {"socket", [&] { return Socket(); }, ": it is a socket, not a regular file."},
    };
    for (const auto& c : cases) {
        const std::string path = c.make();
        EXPECT_EQ(Error(path), "Cannot open file " + path + c.why) << c.name;
    }
}

// The limit counts the bytes there are, not the size the file system reports: files under
// /proc report 0 bytes and hold more.
TEST_F(ReadFile, LimitCountsTheBytesActuallyRead) {
    std::ofstream(Path("ten"), std::ios::binary) << "0123456789";
    const struct {
        std::string path;
        std::size_t limit, size;
    } cases[] = {
        {Path("ten"), 100, 10}, {Path("ten"), 11, 10},           {Path("ten"), 10, 10},
        {Path("ten"), 4, 4},    {"/proc/self/maps", 3000, 3000},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadFileStart(c.path, c.limit).size(), c.size) << c.path;
    EXPECT_EQ(ReadFileStart(Path("ten"), 4), "0123");
    ASSERT_EQ(fs::file_size("/proc/self/maps"), 0u);
}

}  // namespace
