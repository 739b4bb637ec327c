#include "core/atomicfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>

#include "core/fileerror.h"
#include "filesizelimit.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class AtomicFile : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_atomic_"); }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_ / "locked", fs::perms::owner_all, ec);
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    std::string Make(const std::string& name, mode_t mode, const std::string& bytes = "old") {
        const std::string path = Path(name);
        std::ofstream(path, std::ios::binary) << bytes;
        ::chmod(path.c_str(), mode);
        return path;
    }
    static struct stat Stat(const std::string& path) {
        struct stat st {};
        EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
        return st;
    }
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.insert(e.path().filename());
        return names;
    }
    static std::string Error(const std::string& path, const std::string& bytes) {
        try {
            WriteFileAtomically(path, bytes);
        } catch (const EFileError& e) {
            return e.what();
        }
        return "";
    }
    fs::path dir_;
};

// Files that must not be written: each is refused by name and stays exactly as it was,
// and nothing is left beside it.
TEST_F(AtomicFile, RefusedTargetsStayAsTheyWere) {
    struct Case {
        const char* name;
        std::function<std::string()> make;
    };
    const Case cases[] = {
        {"read-only", [&] { return Make("ro.prg", 0444); }},
        {"owner may not write", [&] { return Make("ox.prg", 0466); }},
        {"a folder", [&] { return fs::create_directory(Path("dir")), Path("dir"); }},
        {"a pipe", [&] { return ::mkfifo(Path("fifo").c_str(), 0666), Path("fifo"); }},
        {"a link loop",
         [&] {
             fs::create_symlink("loop2", Path("loop1"));
             fs::create_symlink("loop1", Path("loop2"));
             return Path("loop1");
         }},
        {"a device (null, made here to keep /dev out of harm's way)",
         [&] {
             const std::string path = Path("null");
             if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) Make("null", 0444);
             return path;
         }},
    };
    for (const Case& c : cases) {
        const std::string path = c.make();
        const std::set<std::string> before = Entries();
        const struct stat old = Stat(path);
        EXPECT_EQ(Error(path, "new"), "Cannot create file " + path) << c.name;
        const struct stat now = Stat(path);
        EXPECT_EQ(now.st_ino, old.st_ino) << c.name;
        EXPECT_EQ(now.st_mode, old.st_mode) << c.name;
        EXPECT_EQ(now.st_size, old.st_size) << c.name;
        EXPECT_EQ(Entries(), before) << c.name;
    }
}

// Root may write anything, but a file its owner made read-only is refused to root too, and
// root saving into someone else's file keeps that owner.
TEST_F(AtomicFile, RootIsTreatedAsAnyUserAndKeepsTheOwner) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give files to other users";
    const std::string theirsReadOnly = Make("theirs.prg", 0644);
    const std::string theirsShared = Make("shared.prg", 0666);
    ASSERT_EQ(::chown(theirsReadOnly.c_str(), 4321, 4321), 0);
    ASSERT_EQ(::chown(theirsShared.c_str(), 4321, 4322), 0);
    EXPECT_EQ(Error(theirsReadOnly, "new"), "Cannot create file " + theirsReadOnly);
    EXPECT_EQ(Bytes(theirsReadOnly), "old");
    EXPECT_EQ(Error(theirsShared, "new"), "");
    EXPECT_EQ(Bytes(theirsShared), "new");
    EXPECT_EQ(Stat(theirsShared).st_uid, 4321u);
    EXPECT_EQ(Stat(theirsShared).st_gid, 4322u);
    EXPECT_EQ(Stat(theirsShared).st_mode & 07777, 0666u);
}

// Every writable target gets the new bytes where it really is, keeps its mode, its links
// and (written in place) its inode, and no temporary file stays behind.
TEST_F(AtomicFile, SavesThroughLinksKeepingModeLinksAndInode) {
    struct Case {
        const char* name;
        std::function<std::string()> make;  // returns the name to save under
        std::string holder;                 // the file that must hold the new bytes
        mode_t mode;                        // its mode afterwards
        bool sameInode;                     // written in place
        bool link;                          // saved under a symbolic link's name
    };
    const std::string longName(255, 'n');
    const Case cases[] = {
        {"private", [&] { return Make("p.prg", 0600); }, "p.prg", 0600, false, false},
        {"group readable", [&] { return Make("g.prg", 0640); }, "g.prg", 0640, false, false},
        {"write only", [&] { return Make("w.prg", 0200); }, "w.prg", 0200, false, false},
        {"255-byte name", [&] { return Make(longName, 0644); }, longName, 0644, false, false},
        {"relative link",
         [&] {
             Make("target.prg", 0604);
             fs::create_symlink("target.prg", Path("link.prg"));
             return Path("link.prg");
         },
         "target.prg", 0604, false, true},
        {"chain of links",
         [&] {
             fs::create_directory(Path("sub"));
             Make("sub/deep.prg", 0644);
             fs::create_symlink(Path("sub/deep.prg"), Path("mid"));
             fs::create_symlink("mid", Path("top"));
             return Path("top");
         },
         "sub/deep.prg", 0644, false, true},
        {"hard link",
         [&] {
             Make("one.prg", 0640);
             fs::create_hard_link(Path("one.prg"), Path("two.prg"));
             return Path("two.prg");
         },
         "one.prg", 0640, true, false},
        {"folder without write permission",
         [&] {
             fs::create_directory(Path("locked"));
             const std::string path = Make("locked/f.prg", 0644);
             ::chmod(Path("locked").c_str(), 0555);
             return path;
         },
         "locked/f.prg", 0644, true, false},
    };
    for (const Case& c : cases) {
        const std::string path = c.make();
        const std::set<std::string> before = Entries();
        const ino_t inode = Stat(Path(c.holder)).st_ino;
        const nlink_t links = Stat(Path(c.holder)).st_nlink;
        EXPECT_EQ(Error(path, "n"), "") << c.name;
        EXPECT_EQ(Bytes(Path(c.holder)), "n") << c.name;  // shorter than "old": truncated
        EXPECT_EQ(Stat(Path(c.holder)).st_mode & 07777, c.mode) << c.name;
        EXPECT_EQ(Stat(Path(c.holder)).st_nlink, links) << c.name;
        if (c.sameInode) {
            EXPECT_EQ(Stat(Path(c.holder)).st_ino, inode) << c.name;
        }
        EXPECT_EQ(S_ISLNK(Stat(path).st_mode), c.link) << c.name;
        EXPECT_EQ(Entries(), before) << c.name;
    }
    for (const char* folder : {"sub", "locked"}) {
        EXPECT_EQ(std::distance(fs::directory_iterator(Path(folder)), fs::directory_iterator()), 1)
            << folder;
    }
}

TEST_F(AtomicFile, NewFilesAndDanglingLinksAreCreatedWithTheUsualMode) {
    const mode_t mask = ::umask(022);
    fs::create_symlink("made.prg", Path("dangling"));
    EXPECT_EQ(Error(Path("fresh.prg"), "a"), "");
    EXPECT_EQ(Error(Path("dangling"), "b"), "");
    ::umask(mask);
    EXPECT_EQ(Bytes(Path("fresh.prg")), "a");
    EXPECT_EQ(Bytes(Path("made.prg")), "b");
    EXPECT_EQ(Stat(Path("fresh.prg")).st_mode & 07777, 0644u);
    EXPECT_TRUE(S_ISLNK(Stat(Path("dangling")).st_mode));
    EXPECT_EQ(Entries(), (std::set<std::string>{"dangling", "fresh.prg", "made.prg"}));
}

// A link planted where a predictable temporary name would be cannot redirect the save.
TEST_F(AtomicFile, PlantedLinksAtGuessableNamesAreNotFollowed) {
    const std::string victim = Make("victim", 0644, "precious");
    const std::string path = Make("doc.prg", 0644);
    for (const std::string& guess : {path + ".~" + std::to_string(::getpid()) + ".tmp",
                                     path + ".tmp", path + "~", path + ".~tmp"})
        fs::create_symlink(victim, guess);
    EXPECT_EQ(Error(path, "new"), "");
    EXPECT_EQ(Bytes(path), "new");
    EXPECT_EQ(Bytes(victim), "precious");
    EXPECT_EQ(Entries().size(), 6u);
}

// A full disk: "Stream write error", and a replaced file is still whole; no temporary file
// remains either way.
TEST_F(AtomicFile, FullDiskLeavesNoTemporaryFile) {
    const std::string replaced = Make("r.prg", 0644, std::string(100, 'o'));
    const std::string linked = Make("h.prg", 0644, std::string(100, 'o'));
    fs::create_hard_link(linked, Path("h2.prg"));
    const std::set<std::string> before = Entries();
    {
        const TFileSizeLimit full(50);
        EXPECT_EQ(Error(replaced, std::string(200, 'n')), "Stream write error");
        EXPECT_EQ(Error(linked, std::string(200, 'n')), "Stream write error");
        EXPECT_EQ(Error(Path("new.prg"), std::string(200, 'n')), "Stream write error");
    }
    EXPECT_EQ(Bytes(replaced), std::string(100, 'o'));
    EXPECT_EQ(Entries(), before);
}

// A file given in pieces is their concatenation, also when written in place over a
// longer file (it must end where the pieces end) and when a piece fails to fit.
TEST_F(AtomicFile, PiecesMakeTheWholeFile) {
    const std::string replaced = Make("r.prg", 0644, std::string(100, 'o'));
    const std::string linked = Make("h.prg", 0644, std::string(100, 'o'));
    fs::create_hard_link(linked, Path("h2.prg"));
    const TByteSource pieces = [](const TByteSink& sink) {
        for (const char* piece : {"ab", "", "cde", "f"}) sink(piece);
    };
    for (const std::string& path : {replaced, linked, Path("new.prg")}) {
        WriteFileAtomically(path, pieces);
        EXPECT_EQ(Bytes(path), "abcdef") << path;
    }
    const TFileSizeLimit full(50);
    const TByteSource large = [](const TByteSink& sink) {
        for (int i = 0; i < 4; ++i) sink(std::string(20, 'n'));
    };
    EXPECT_THROW(WriteFileAtomically(replaced, large), EFileError);
    EXPECT_EQ(Bytes(replaced), "abcdef");
}

}  // namespace
