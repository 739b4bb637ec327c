#pragma once
// Test files: a TOML file of tests, each a starting state of the machine and what must
// hold after the program has run from it. The command-line tool grades submissions with
// them and the assembler editor checks the text being written.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/execute.h"
#include "core/readfile.h"

constexpr long long DefaultTestMaxSteps = 100000;

// How the file and the failure texts write a register ("R3"); a byte they write with
// HexByte ("0E").
std::string RegisterName(int number);

// Address -> byte and register number -> byte; each address or register at most once.
using TByteMap = std::map<int, int>;

struct TTestExpect {
    std::optional<TStepResult> Status;  // how the run ends (Executed: at the step limit)
    std::optional<std::string> Output;  // code page 437 bytes
    TByteMap Registers;
    TByteMap Memory;
    // The registers and cells whose expected byte the file wrote in decimal (and so PC):
    // their failures give both values in decimal too, as the author reads them, with hex.
    std::set<int> DecimalRegisters;
    std::set<int> DecimalMemory;
    std::optional<int> Pc;
    bool DecimalPc = false;

    bool Empty() const { return !Status && !Output && Registers.empty() && Memory.empty() && !Pc; }
};

// What the registers and the memory cells that neither the program's image nor the test
// sets hold at the start: 0, or bytes of the random sequence of the test's seed (see
// StartState in grading/testrun.h).
enum class TTestFill { Zero, Random };

struct TTestCase {
    std::string Name;
    int Line = 0;  // where the test's table begins, 1-based
    int Points = 1;
    std::string Description;  // shown to students; may be empty
    // A hidden test shows students only its name and whether it passed, never what it
    // expects or what the program did.
    bool Hidden = false;
    TTestFill Fill = TTestFill::Zero;  // the file's fill when the test sets none
    // The test's seed, else the file's, else one made from the test's name (FNV-1a, 64
    // bits, of its UTF-8 bytes), so that every run starts the same. Used only by Random.
    std::uint64_t Seed = 0;
    int Pc = 0;
    long long MaxSteps = DefaultTestMaxSteps;  // the file's limit when the test sets none
    TByteMap Registers;
    TByteMap Memory;
    TTestExpect Expect;
};

struct TTestFile {
    std::string Path;
    std::optional<std::string> Program;  // as written in the file
    // warnings = "fail": a program the assembler warns about fails every test unrun.
    bool WarningsFail = false;
    std::vector<TTestCase> Tests;
};

// The file's program, relative to the folder of the test file; nothing when it names none.
std::optional<std::string> ProgramPath(const TTestFile& file);

struct TTestFileMistake {
    int Line = 1;    // 1-based
    int Column = 1;  // 1-based
    std::string Message;
};

// A test file that is refused whole; what() is its first mistake.
class ETestFileError : public std::runtime_error {
public:
    // mistakes: the first ones in the text; omitted: how many more were found.
    ETestFileError(std::string path, std::vector<TTestFileMistake> mistakes, long long omitted = 0);

    const std::string& Path() const { return path_; }
    const std::vector<TTestFileMistake>& Mistakes() const { return mistakes_; }
    // Each mistake as "PATH:LINE:COLUMN: MESSAGE", then "… and N more mistakes" when
    // there were more than are listed; shownPath in place of the path when given.
    std::vector<std::string> Lines() const { return Lines(path_); }
    std::vector<std::string> Lines(const std::string& shownPath) const;

    // At most this many mistakes are listed, the first ones in the text.
    static constexpr std::size_t MaxListed = 100;

private:
    std::string path_;
    std::vector<TTestFileMistake> mistakes_;
    long long omitted_;
};

// Keeps only the tests named in names (in the file's order), when names is not empty.
// Returns the first name that no test has, and then changes nothing.
std::optional<std::string> KeepOnlyTests(TTestFile& file, const std::vector<std::string>& names);

// Reads the text of a test file; path only names it in the mistakes. Throws ETestFileError
// with every mistake found (a syntax error is the only one reported, as nothing after it
// can be read).
TTestFile ParseTestFile(std::string_view text, const std::string& path);

// The test file called name, taken through read. Throws EFileError when it cannot be read
// or is more than 16 MiB, else as ParseTestFile.
TTestFile ReadTestFile(const std::string& name, const TReadStart& read);
// ReadTestFile of the file at path.
TTestFile ReadTestFile(const std::string& path);
