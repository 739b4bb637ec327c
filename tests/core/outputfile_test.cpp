#include "core/outputfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "core/fileerror.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class OutputFile : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_output_"); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Make(const std::string& name, mode_t mode) const {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << "old";
        ::chmod(path.c_str(), mode);
        return path;
    }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // A null device of its own, so that /dev stays out of harm's way; empty when this
    // process may not make one.
    std::string Null() const {
        const std::string path = Path("null");
        return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? path : "";
    }
    fs::path dir_;
};

// A stream goes into a new file, a writable file emptied in place, or a device; anything
// else is refused before a byte of it changes, and nothing waits for a pipe's reader.
TEST_F(OutputFile, StreamsGoWhereTheyMay) {
    const std::string null = Null();
    if (null.empty()) GTEST_SKIP() << "may not make a device";
    const struct {
        const char* name;
        std::function<std::string()> make;
        bool taken;
        std::string after;  // the file's bytes afterwards
    } cases[] = {
        {"new file", [&] { return Path("new.tsv"); }, true, "trace"},
        {"writable file", [&] { return Make("old.tsv", 0644); }, true, "trace"},
        {"read-only file", [&] { return Make("ro.tsv", 0444); }, false, "old"},
        {"device", [&] { return null; }, true, ""},
        {"folder", [&] { return fs::create_directory(Path("dir")), Path("dir"); }, false, ""},
        {"pipe", [&] { return ::mkfifo(Path("fifo").c_str(), 0666), Path("fifo"); }, false, ""},
        {"missing folder", [&] { return Path("no/t.tsv"); }, false, ""},
    };
    for (const auto& c : cases) {
        const std::string path = c.make();
        struct stat before {};
        const bool existed = ::stat(path.c_str(), &before) == 0;
        try {
            TFileDescriptor fd = OpenStreamFile(path);
            EXPECT_TRUE(c.taken) << c.name;
            EXPECT_TRUE(WriteFully(fd.Get(), "trace")) << c.name;
        } catch (const EFileError& e) {
            EXPECT_FALSE(c.taken) << c.name;
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path) << c.name;
        }
        struct stat after {};
        if (::stat(path.c_str(), &after) == 0 && S_ISREG(after.st_mode)) {
            EXPECT_EQ(Bytes(path), c.after) << c.name;
            EXPECT_TRUE(!existed || after.st_ino == before.st_ino) << c.name;
        }
    }
}

// A report is written straight through to a device and saved whole anywhere else.
TEST_F(OutputFile, ReportsGoToDevicesAndFiles) {
    if (const std::string null = Null(); !null.empty()) WriteOutputFile(null, "report");
    WriteOutputFile(Path("r.txt"), "report");
    EXPECT_EQ(Bytes(Path("r.txt")), "report");
    EXPECT_THROW(WriteOutputFile("/dev/full", "report"), EFileError);
}

}  // namespace
