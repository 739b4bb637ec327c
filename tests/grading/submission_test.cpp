#include "grading/submission.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "core/fileerror.h"
#include "testdir.h"

namespace fs = std::filesystem;

namespace {

class Submission : public ::testing::Test {
protected:
    void SetUp() override { dir_ = FreshTestDir("quarzel_submission_"); }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }

    fs::path dir_;
};

TEST_F(Submission, AFolderStandsForItsProgramFilesOnly) {
    Write("class/b.Prg", "");
    Write("class/a.asm", "");
    Write("class/C.ASM", "");
    Write("class/readme.txt", "");
    Write("class/a.asm.bak", "");
    Write("class/old.asm/x.asm", "");  // a folder with a program's name is not one
    std::vector<std::string> programs{"earlier"};
    std::vector<TSkippedFile> skipped;
    AddPrograms(Path("class"), programs, skipped);
    // Sorted by the bytes of the name, so capitals first; appended after what was there.
    EXPECT_EQ(programs, (std::vector<std::string>{"earlier", Path("class/C.ASM"),
                                                  Path("class/a.asm"), Path("class/b.Prg")}));
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].Path, Path("class/old.asm"));
}

// What a folder skips is named with the reason, not left out without a word.
TEST_F(Submission, EntriesThatAreNoRegularFileAreSkippedWithTheReason) {
    Write("class/good.asm", "");
    fs::create_symlink("good.asm", dir_ / "class/link.asm");  // a link to a program is one
    fs::create_symlink("gone.asm", dir_ / "class/dangling.asm");
    fs::create_symlink("loop.prg", dir_ / "class/loop.prg");
    fs::create_symlink("/dev/null", dir_ / "class/null.prg");
    ASSERT_EQ(mkfifo(Path("class/pipe.asm").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(Path("class/pipe.txt").c_str(), 0600), 0);  // no program's name
    std::vector<std::string> programs;
    std::vector<TSkippedFile> skipped;
    AddPrograms(Path("class"), programs, skipped);
    EXPECT_EQ(programs, (std::vector<std::string>{Path("class/good.asm"), Path("class/link.asm")}));
    std::vector<std::string> listed;
    for (const TSkippedFile& s : skipped)
        listed.push_back(s.Path.substr(dir_.string().size()) + ": " + s.Why);
    EXPECT_EQ(listed,
              (std::vector<std::string>{
                  "/class/dangling.asm: a link to nothing",
                  "/class/loop.prg: " +
                      std::make_error_code(std::errc::too_many_symbolic_link_levels).message(),
                  "/class/null.prg: a device, not a regular file",
                  "/class/pipe.asm: a pipe, not a regular file"}));
}

TEST_F(Submission, AFileStandsForItselfWhateverItsName) {
    Write("notes.txt", "");
    std::vector<std::string> programs;
    std::vector<TSkippedFile> skipped;
    AddPrograms(Path("notes.txt"), programs, skipped);
    EXPECT_EQ(programs, std::vector<std::string>{Path("notes.txt")});
    EXPECT_TRUE(skipped.empty());
}

TEST_F(Submission, NamesThatHoldNoProgramAreRefused) {
    Write("only/sub/a.asm", "");
    Write("text/a.txt", "");
    const struct {
        const char* name;
        std::string message;
    } cases[] = {
        {"missing.asm", "Cannot open file " + Path("missing.asm")},
        {"only", "No .asm or .prg file in folder " + Path("only")},
        {"text", "No .asm or .prg file in folder " + Path("text")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> programs;
        std::vector<TSkippedFile> skipped;
        try {
            AddPrograms(Path(c.name), programs, skipped);
            ADD_FAILURE() << "accepted";
        } catch (const EFileError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_TRUE(programs.empty());
    }
}

TEST_F(Submission, LoadingNeverThrows) {
    Write("good.asm", "        load R1,7\n        org 10h\n        db 0\n        halt\n");
    Write("bad.asm", "        load R1,7\n        nosuch R1\n        alsonot\n");
    Write("short.prg", "\x21\x07");
    const TLoadedProgram good = TryLoadProgram(Path("good.asm"));
    ASSERT_TRUE(good.Image.has_value());
    EXPECT_TRUE(good.Errors.empty());
    EXPECT_EQ(good.Image->Memory[0], 0x21);
    EXPECT_EQ(good.Image->Memory[1], 0x07);
    // A source sets the bytes its lines place, zeros of db included; an image every byte.
    std::bitset<256> placed;
    placed.set(0x00).set(0x01).set(0x10).set(0x11).set(0x12);
    EXPECT_EQ(good.Image->Set, placed);
    TMemoryImage image{};
    WriteMemoryFile(Path("image.prg"), image);
    EXPECT_TRUE(TryLoadProgram(Path("image.prg")).Image->Set.all());

    // Every report of the assembler, in order, each with its place counted from 1.
    const TLoadedProgram bad = TryLoadProgram(Path("bad.asm"));
    EXPECT_FALSE(bad.Image.has_value());
    const std::string at = Path("bad.asm");
    EXPECT_EQ(bad.Errors, (std::vector<std::string>{
                              at + ":2:16: Syntax error. Expected: ':'",
                              at + ":2:16: Unknown identifier. Expected: mnemonic, nothing",
                              at + ":3:16: Unexpected end of line. Expected: ':'"}));

    // An image of the wrong size is not read at all.
    const TLoadedProgram short_ = TryLoadProgram(Path("short.prg"));
    EXPECT_FALSE(short_.Image.has_value());
    EXPECT_EQ(short_.Errors.size(), 1u);

    for (const char* missing : {"none.asm", "none.prg"}) {
        const TLoadedProgram none = TryLoadProgram(Path(missing));
        EXPECT_FALSE(none.Image.has_value()) << missing;
        EXPECT_EQ(none.Errors, std::vector<std::string>{"Cannot open file " + Path(missing)});
    }
}

}  // namespace
