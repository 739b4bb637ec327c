#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/memfile.h"
#include "filesizelimit.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class MemoryFile : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_memfile_"); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void WriteBytes(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    fs::path dir_;
};

TEST_F(MemoryFile, ZeroMemoryIs1024ZeroBytesAndReadsBack) {
    const TMemoryImage zeros{};
    WriteMemoryFile(Path("z.prg"), zeros);
    EXPECT_EQ(Bytes(Path("z.prg")), std::string(1024, '\0'));
    EXPECT_EQ(ReadMemoryFile(Path("z.prg")), zeros);
}

TEST_F(MemoryFile, EntriesAreLittleEndianFourBytesEach) {
    TMemoryImage image{};
    image[0x00] = 0x41;
    image[0xFF] = 0x12;
    image[0x80] = 0xFF;
    WriteMemoryFile(Path("a.prg"), image);
    const std::string bytes = Bytes(Path("a.prg"));
    ASSERT_EQ(bytes.size(), 1024u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x41\0\0\0", 4));
    EXPECT_EQ(bytes.substr(1020, 4), std::string("\x12\0\0\0", 4));
    EXPECT_EQ(bytes.substr(512, 4), std::string("\xFF\0\0\0", 4));
    EXPECT_EQ(ReadMemoryFile(Path("a.prg")), image);
}

TEST_F(MemoryFile, ShortFileFailsLongFileLoadsItsFirst1024Bytes) {
    WriteBytes(Path("short.prg"), std::string(1023, '\0'));
    try {
        ReadMemoryFile(Path("short.prg"));
        ADD_FAILURE() << "short file accepted";
    } catch (const EFileError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    std::string longer(2000, '\x07');
    for (int a = 0; a < 256; ++a) longer.replace(4 * a, 4, std::string("\x09\0\0\0", 4));
    WriteBytes(Path("long.prg"), longer);
    const TMemoryImage image = ReadMemoryFile(Path("long.prg"));
    for (int a = 0; a < 256; ++a) ASSERT_EQ(image[a], 9);
}

TEST_F(MemoryFile, MissingFileNamesThePath) {
    for (const std::string& path : {Path("missing.prg"), dir_.string()}) {
        try {
            ReadMemoryFile(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
        }
    }
}

TEST_F(MemoryFile, EntryOutsideAByteIsRefusedNamingTheAddress) {
    const std::pair<int, std::string> cases[] = {
        {0x10, std::string("\x00\x01\x00\x00", 4)},  // 256
        {0xFF, std::string("\xFF\xFF\xFF\xFF", 4)},  // -1
    };
    for (const auto& [address, entry] : cases) {
        std::string bytes(1024, '\0');
        bytes.replace(4 * address, 4, entry);
        WriteBytes(Path("bad.prg"), bytes);
        try {
            ReadMemoryFile(Path("bad.prg"));
            ADD_FAILURE() << "bad entry accepted";
        } catch (const EFileError& e) {
            char name[8];
            std::snprintf(name, sizeof name, "%02X", address);
            EXPECT_NE(std::string(e.what()).find(std::string("address ") + name), std::string::npos)
                << e.what();
        }
    }
}

TEST_F(MemoryFile, FailedSaveLeavesTheOldFileWhole) {
    TMemoryImage old{};
    old[3] = 0x33;
    WriteMemoryFile(Path("keep.prg"), old);
    TMemoryImage fresh{};
    fresh[3] = 0x44;
    {
        // The disk fills up halfway through the new image.
        const TFileSizeLimit full(512);
        try {
            WriteMemoryFile(Path("keep.prg"), fresh);
            ADD_FAILURE() << "save succeeded";
        } catch (const EFileError& e) {
            EXPECT_STREQ(e.what(), "Stream write error");
        }
    }
    EXPECT_EQ(ReadMemoryFile(Path("keep.prg")), old);
    WriteMemoryFile(Path("keep.prg"), fresh);
    EXPECT_EQ(ReadMemoryFile(Path("keep.prg")), fresh);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(MemoryFile, SaveIntoMissingFolderOrOntoAFolderFails) {
    for (const std::string& path : {Path("no/such/dir.prg"), dir_.string()}) {
        try {
            WriteMemoryFile(path, TMemoryImage{});
            ADD_FAILURE() << "saved to " << path;
        } catch (const EFileError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
        }
    }
}

}  // namespace
