#include "grading/testrun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/cp437.h"
#include "core/hex.h"
#include "core/machine.h"

namespace {

// "14 (0E)" for a byte the test file wrote in decimal, else "0E".
std::string ByteText(int byte, bool decimal) {
    return decimal ? std::to_string(byte) + " (" + HexByte(byte) + ")" : HexByte(byte);
}

void CheckBytes(const TByteMap& expected, const std::set<int>& decimal, const CellStore& store,
                std::string (*name)(int), std::vector<std::string>& failures) {
    for (const auto& [index, want] : expected) {
        const int have = store.GetContents(index) & 0xFF;
        const bool inDecimal = decimal.count(index) > 0;
        if (have != want)
            failures.push_back(name(index) + " is " + ByteText(have, inDecimal) + ", expected " +
                               ByteText(want, inDecimal));
    }
}

// What a result says of its test before the test runs.
TTestResult Unrun(const TTestCase& test) {
    TTestResult result;
    result.Name = test.Name;
    result.Description = test.Description;
    result.Hidden = test.Hidden;
    result.MaxPoints = test.Points;
    return result;
}

std::string MemoryName(int address) {
    return "memory[" + HexByte(address) + "]";
}

// "1,234,567": a count of bytes that can be read at a glance.
std::string GroupedDigits(long long count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

// Output as the reports show it: the first ShownOutputBytes quoted, the rest as a count.
std::string ShownOutput(std::string_view bytes, long long total) {
    const std::string_view shown = bytes.substr(0, ShownOutputBytes);
    const long long more = total - static_cast<long long>(shown.size());
    std::string text = QuoteOutput(shown);
    if (more > 0)
        text += " \u2026 and " + GroupedDigits(more) + (more == 1 ? " more byte" : " more bytes");
    return text;
}

// kept: the start of the output, enough of it to tell it from expected (see RunTest).
std::string OutputFailure(const std::string& kept, long long total, const std::string& expected) {
    std::string text = "output is " + ShownOutput(kept, total) + ", expected " +
                       ShownOutput(expected, static_cast<long long>(expected.size()));
    // Beyond what is shown the two quotes look alike; say where they part.
    const auto differ = static_cast<std::size_t>(
        std::mismatch(kept.begin(), kept.end(), expected.begin(), expected.end()).first -
        kept.begin());
    if (differ >= ShownOutputBytes)
        text +=
            " (they differ from byte " + GroupedDigits(static_cast<long long>(differ) + 1) + " on)";
    return text;
}

// About a millisecond of steps in a release build, and a fraction of a second in a
// sanitized debug build: a stop feels immediate, and the look between slices costs nothing
// measurable.
constexpr long long SliceSteps = 1 << 16;

// The simulation's whole run, in slices with a look at stop between them; nothing when it
// was stopped before it ended.
std::optional<TStepResult> RunInSlices(TSimulation& simulation, long long maxSteps,
                                       long long& executed, const TStopRequested& stopRequested) {
    const long long before = simulation.RunSteps();
    executed = 0;
    simulation.StartRun();
    TRunOutcome outcome = TRunOutcome::Limit;
    do {
        if (stopRequested()) {
            simulation.StopRun();
            return std::nullopt;
        }
        outcome = simulation.RunSlice(std::min(maxSteps - executed, SliceSteps));
        executed = simulation.RunSteps() - before;
    } while (outcome == TRunOutcome::Limit && executed < maxSteps);
    simulation.StopRun();
    return ResultOf(outcome);
}

}  // namespace

std::array<std::uint8_t, 16 + 256> RandomFill(std::uint64_t seed) {
    std::array<std::uint8_t, 16 + 256> bytes{};
    for (std::uint8_t& byte : bytes) {
        seed += 0x9E3779B97F4A7C15u;
        std::uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        byte = static_cast<std::uint8_t>(z ^ (z >> 31));
    }
    return bytes;
}

TStartState StartState(const TTestCase& test, const TProgramImage& program) {
    TStartState state;
    state.Memory = program.Memory;
    if (test.Fill == TTestFill::Random) {
        const auto random = RandomFill(test.Seed);
        for (int r = 0; r < 16; ++r) state.Registers[r] = random[r];
        for (int a = 0; a < 256; ++a)
            if (!program.Set[a]) state.Memory[a] = random[16 + a];
    }
    for (const auto& [address, value] : test.Memory) state.Memory[address] = value;
    for (const auto& [number, value] : test.Registers) state.Registers[number] = value;
    state.Pc = test.Pc;
    return state;
}

TProgramLoad StartLoad(const TStartState& start) {
    TProgramLoad load(start.Memory, start.Pc);
    load.Registers = start.Registers;
    load.Ir = 0;
    return load;
}

TTestResult RunTest(const TTestCase& test, const TProgramImage& program) {
    return *RunTest(test, program, [] { return false; });
}

std::optional<TTestResult> RunTest(const TTestCase& test, const TProgramImage& program,
                                   const TStopRequested& stopRequested) {
    const auto began = std::chrono::steady_clock::now();
    const TStartState start = StartState(test, program);
    TMachine machine;
    machine.Simulation.LoadImage(StartLoad(start));

    const TTestExpect& expect = test.Expect;
    TTestResult result = Unrun(test);
    // One byte more than the expected output tells a longer output from it, so the
    // comparison stays exact however little is kept.
    const std::size_t keep =
        std::max(ShownOutputBytes, expect.Output ? expect.Output->size() + 1 : 0);
    // Connected only now: the starting value of RF is not output.
    machine.OnOutput = [&result, keep](int value) {
        if (value == 0) return;
        if (result.Output.size() < keep) result.Output += static_cast<char>(value & 0xFF);
        ++result.OutputBytes;
    };
    result.Status = RunInSlices(machine.Simulation, test.MaxSteps, result.Steps, stopRequested);
    if (!result.Status) return std::nullopt;

    std::vector<std::string>& failures = result.Failures;
    if (expect.Status && *expect.Status != *result.Status)
        failures.push_back("status is " + std::string(StatusName(*result.Status)) + " after " +
                           std::to_string(result.Steps) +
                           (result.Steps == 1 ? " step, expected " : " steps, expected ") +
                           std::string(StatusName(*expect.Status)));
    if (expect.Output && *expect.Output != result.Output)
        failures.push_back(OutputFailure(result.Output, result.OutputBytes, *expect.Output));
    if (result.Output.size() > ShownOutputBytes)
        result.Output = result.Output.substr(0, ShownOutputBytes);
    CheckBytes(expect.Registers, expect.DecimalRegisters, machine.Registers, RegisterName,
               failures);
    CheckBytes(expect.Memory, expect.DecimalMemory, machine.MainMemory, MemoryName, failures);
    const int pc = machine.SysRegs.GetContents(PcIndex) & 0xFF;
    if (expect.Pc && *expect.Pc != pc)
        failures.push_back("PC is " + ByteText(pc, expect.DecimalPc) + ", expected " +
                           ByteText(*expect.Pc, expect.DecimalPc));

    result.Passed = failures.empty();
    result.Points = result.Passed ? test.Points : 0;
    if (!result.Passed && test.Fill == TTestFill::Random)
        failures.push_back("started from random values (seed " + std::to_string(test.Seed) + ")");
    result.Seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    return result;
}

std::vector<TTestResult> RunTests(const TTestFile& file, const TProgramImage& program) {
    std::vector<TTestResult> results;
    results.reserve(file.Tests.size());
    for (const TTestCase& test : file.Tests) results.push_back(RunTest(test, program));
    return results;
}

TTestResult NotRun(const TTestCase& test, std::string why) {
    TTestResult result = Unrun(test);
    result.Failures.push_back(std::move(why));
    return result;
}

std::string QuoteOutput(std::string_view bytes) {
    std::string text = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        switch (b) {
            case '"':
                text += "\\\"";
                break;
            case '\\':
                text += "\\\\";
                break;
            case '\b':
                text += "\\b";
                break;
            case '\t':
                text += "\\t";
                break;
            case '\n':
                text += "\\n";
                break;
            case '\f':
                text += "\\f";
                break;
            case '\r':
                text += "\\r";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04X", b);
                    text += escape;
                } else {
                    text += Cp437ToUtf8(std::string_view(&c, 1));
                }
        }
    }
    return text + "\"";
}
