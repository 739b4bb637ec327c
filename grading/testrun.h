#pragma once
// Runs the tests of a test file on a program: each on a machine of its own, so nothing
// outside it is touched.

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/memfile.h"
#include "core/simulation.h"
#include "grading/testfile.h"

// A test keeps this much of a program's output for its reports: a program that writes in a
// loop must cost no more memory and report text than one that writes a line.
constexpr std::size_t ShownOutputBytes = 1000;

// A program's image and which of its cells it sets: every one for a memory image file
// (.prg), which holds all 256; for an assembled source the bytes its lines placed.
struct TProgramImage {
    TMemoryImage Memory{};
    std::bitset<256> Set;

    TProgramImage() = default;
    // A memory image file's: every cell set.
    TProgramImage(const TMemoryImage& memory) : Memory(memory) { Set.set(); }
    TProgramImage(const TMemoryImage& memory, const std::bitset<256>& set)
        : Memory(memory), Set(set) {}
};

// What a test starts from: the program's image with the test's bytes over it, the
// registers the test sets, PC, and 0 in every other register and cell; with fill =
// "random", those others take bytes of the test's random sequence instead.
struct TStartState {
    TMemoryImage Memory{};
    std::array<int, 16> Registers{};
    int Pc = 0;
};

// The one place that computes a test's start, for the grader and the editor alike.
TStartState StartState(const TTestCase& test, const TProgramImage& program);
// What loads that start into a machine: IR too is 0000, as on a machine just switched on.
TProgramLoad StartLoad(const TStartState& start);

// The random sequence of a seed: SplitMix64 (Steele, Lea, Flood 2014), each output's lowest
// byte. R0..RF take its first 16 bytes and memory 00..FF the next 256, whether or not the
// register or cell keeps its own value, so what the program or test sets shifts nothing.
std::array<std::uint8_t, 16 + 256> RandomFill(std::uint64_t seed);

struct TTestResult {
    std::string Name;
    std::string Description;
    bool Hidden = false;
    bool Passed = false;
    int Points = 0;                     // the test's points when it passed, else 0
    int MaxPoints = 0;                  // the test's points
    double Seconds = 0;                 // how long the run took
    std::optional<TStepResult> Status;  // nothing when the test was not run
    long long Steps = 0;                // instructions executed, the stopping one included
    std::string Output;         // the first ShownOutputBytes non-zero bytes written to RF (cp437)
    long long OutputBytes = 0;  // how many non-zero bytes were written to RF in all
    std::vector<std::string> Failures;  // "R3 is 0E, expected 0F", ... (UTF-8)
};

TTestResult RunTest(const TTestCase& test, const TProgramImage& program);
// As above, for a caller that may give up: a stop request is seen between slices of a few
// milliseconds, however many steps the test allows, and the test then has no result.
// (A callback rather than std::stop_token, which the browser edition's library lacks.)
using TStopRequested = std::function<bool()>;
std::optional<TTestResult> RunTest(const TTestCase& test, const TProgramImage& program,
                                   const TStopRequested& stopRequested);
std::vector<TTestResult> RunTests(const TTestFile& file, const TProgramImage& program);

// A failed result for a test that could not run; why is its one failure.
TTestResult NotRun(const TTestCase& test, std::string why);
// Why the tests of a file with warnings = "fail" do not run on a program warned about.
constexpr const char* WarningsNotAllowed =
    "not run: the test file allows no warnings, and the assembler warned about the program";

// Code page 437 bytes as a quoted UTF-8 text, control characters, quotes and backslashes
// escaped as in a TOML string, so that a failure stays on one line and can be pasted back.
std::string QuoteOutput(std::string_view bytes);
