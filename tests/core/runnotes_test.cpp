#include "core/runnotes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/machine.h"

namespace {

struct TNoteLog final : TSimulationObserver {
    std::vector<std::string> Texts;
    void Noted(const TRunNote& note) override { Texts.push_back(RunNoteText(note)); }
};

struct TNoteCase {
    const char* name;
    int pc;
    std::vector<std::pair<int, std::vector<int>>> bytes;  // address, bytes placed there
    const char* placement;  // from address 00 on: C code, D data (line 7), . nothing
    std::vector<std::pair<int, int>> registers;
    std::vector<std::string> expected;
};

// The notes of a run of up to 20 instructions.
std::vector<std::string> NotesOf(const TNoteCase& c, long long historyCapacity, bool watching) {
    TNoteLog log;  // outlives the machine, which it observes
    TMachine machine(historyCapacity);
    TProgramLoad program({}, c.pc);
    for (const auto& [address, bytes] : c.bytes)
        for (std::size_t i = 0; i < bytes.size(); ++i)
            program.Image[(address + i) & 0xFF] = bytes[i];
    for (std::size_t a = 0; c.placement[a] != '\0'; ++a) {
        program.Placement[a] = c.placement[a] == 'C'   ? TPlaced::Code
                               : c.placement[a] == 'D' ? TPlaced::Data
                                                       : TPlaced::Nothing;
        if (c.placement[a] == 'D') program.Source[a] = 6;
    }
    std::array<int, 16> registers{};
    for (auto [r, v] : c.registers) registers[std::size_t(r)] = v;
    program.Registers = registers;
    machine.Simulation.LoadImage(program);
    machine.Simulation.AddObserver(&log, TSimulation::TNeeds::NoWrites);
    machine.Simulation.SetWatching(watching);
    long long executed = 0;
    machine.Simulation.Run(20, executed);
    return log.Texts;
}

TEST(RunNotes, EachClassicMistakeIsNotedOnceAndItsSoundFormNever) {
    const std::string wrapped = ": the program ran past the end of memory";
    const TNoteCase cases[] = {
        {"executing db data",
         0,
         {{0, {0x20, 0x01, 0xC0, 0x00}}},
         "CCDD",
         {},
         {"executing data at 02: db placed these bytes (line 7)"}},
        {"an instruction whose second byte is data",
         1,
         {{1, {0xC0, 0x00}}},
         ".CD",
         {},
         {"executing data at 01: db placed these bytes (line 7)"}},
        {"the same bytes assembled as code", 0, {{0, {0x20, 0x01, 0xC0, 0x00}}}, "CCCC", {}, {}},
        {"an image without an assembly", 0, {{0, {0x20, 0x01, 0xC0, 0x00}}}, "", {}, {}},
        {"PC running past FE",
         0xFE,
         {{0xFE, {0x20, 0x01}}, {0, {0xC0, 0x00}}},
         "",
         {},
         {"PC wrapped from FE to 00" + wrapped}},
        {"an instruction at FF",
         0xFF,
         {{0xFF, {0x20, 0x01, 0xC0, 0x00}}},
         "",
         {},
         {"PC wrapped from FF to 01" + wrapped}},
        {"a jump at FE taken to 00", 0xFE, {{0xFE, {0xB0, 0x00}}, {0, {0xC0, 0x00}}}, "", {}, {}},
        {"a halt at FE", 0xFE, {{0xFE, {0xC0, 0x00}}}, "", {}, {}},
        {"a jump at FE not taken",
         0xFE,
         {{0xFE, {0xB1, 0x40}}, {0, {0xC0, 0x00}}},
         "",
         {{1, 1}},
         {"PC wrapped from FE to 00" + wrapped}},
        {"an addf that float8 cannot hold, in a loop",
         0,
         {{0, {0x63, 0x12, 0xB0, 0x00}}},
         "",
         {{1, 0x0F}, {2, 0x02}},
         {"addf at 00: 15 + 2 = 17 does not fit in float8, so R3 gets 16 (18)"}},
        {"an exact addf", 0, {{0, {0x63, 0x12, 0xC0, 0x00}}}, "", {{1, 0x0F}, {2, 0x01}}, {}},
        {"a store into code",
         0,
         {{0, {0x30, 0x03, 0xC0, 0x00}}},
         "CCCC",
         {},
         {"the store at 00 writes into the program's own code at 03"}},
        {"an indirect store into code, in a loop",
         0,
         {{0, {0xE0, 0x01, 0xB0, 0x00}}},
         "CCCC",
         {{1, 0x03}},
         {"the store at 00 writes into the program's own code at 03"}},
        {"a store into data", 0, {{0, {0x31, 0x05, 0xC0, 0x00}}}, "CCCCDD", {}, {}},
        {"a store into data executed earlier",
         0,
         {{0, {0xB0, 0x04}}, {2, {0xC0, 0x00}}, {4, {0x31, 0x05, 0xB0, 0x02}}},
         "CCCCDDCC",
         {},
         {"executing data at 04: db placed these bytes (line 7)",
          "the store at 04 writes into the program's own code at 05"}},
    };
    for (const auto& c : cases)
        for (const long long history : {0LL, 100LL}) {
            EXPECT_EQ(NotesOf(c, history, true), c.expected) << c.name << ", history " << history;
            EXPECT_EQ(NotesOf(c, history, false), std::vector<std::string>{}) << c.name;
        }
}

}  // namespace
