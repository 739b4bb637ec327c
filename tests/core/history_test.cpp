#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/history.h"
#include "machine_fixture.h"

namespace {

struct TSnapshot {
    std::vector<int> memory, registers;
    int pc, ir;
    std::string output;
    bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(TTestMachine& m) {
    TSnapshot s{{}, {}, m.Pc(), m.Ir(), m.Output};
    for (int a = 0; a < 256; ++a) s.memory.push_back(m.Mem(a));
    for (int r = 0; r < 16; ++r) s.registers.push_back(m.Reg(r));
    return s;
}

// Runs steps instructions one at a time (halts and invalid words do not end it),
// keeping the state before each.
std::vector<TSnapshot> Forward(TTestMachine& m, int steps) {
    std::vector<TSnapshot> before;
    for (int i = 0; i < steps; ++i) {
        before.push_back(Snap(m));
        const long long last = m.History().LastStep();
        m.Simulation.Step();
        EXPECT_EQ(m.History().LastStep(), last + 1);
    }
    return before;
}

// Takes every step back, comparing with the state before it, the output included.
void BackToStart(TTestMachine& m, const std::vector<TSnapshot>& before, const std::string& name) {
    const THistory& history = m.History();
    for (size_t i = before.size(); i-- > 0;) {
        ASSERT_FALSE(history.Empty()) << name << " step " << i + 1;
        const THistoryEntry entry = history.Entry(history.Size() - 1);
        ASSERT_TRUE(m.Simulation.StepBack()) << name << " step " << i + 1;
        if (const auto c = entry.Output()) {
            ASSERT_FALSE(m.Output.empty()) << name;
            EXPECT_EQ(m.Output.back(), static_cast<char>(*c)) << name;
            m.Output.pop_back();
        }
        ASSERT_EQ(Snap(m), before[i]) << name << " back over step " << i + 1;
    }
    EXPECT_FALSE(m.Simulation.StepBack()) << name;
}

TEST(History, ForwardThenBackRestoresEverything) {
    struct Case {
        const char* name;
        int pc;
        std::vector<int> bytes;  // at pc
        int steps;
    };
    const Case cases[] = {
        // stores 2F 41 over its own next word, then runs it: output A
        {"self-modifying", 0x00, {0x21, 0x2F, 0x31, 0x06, 0x21, 0x41, 0x31, 0x07, 0x00, 0x00}, 5},
        // jmpEQ at FF reads its second byte from 00 and jumps back to FF
        {"wrap at FF", 0xFF, {0xB0, 0xFF}, 6},
        {"output and halts", 0x10, {0x2F, 0x48, 0x4F, 0xF2, 0xC0, 0x00, 0x2F, 0x0A, 0x00}, 9},
        {"indirect store", 0x00, {0x21, 0x90, 0x22, 0x77, 0xE0, 0x21, 0xD0, 0x31, 0xB0, 0x00}, 12},
    };
    for (const Case& c : cases) {
        TTestMachine m;
        for (size_t i = 0; i < c.bytes.size(); ++i) m.Poke((c.pc + int(i)) & 0xFF, {c.bytes[i]});
        m.SysRegs.SetContents(PcIndex, c.pc);
        m.SysRegs.SetContents(IrIndex, 0x1234);
        const auto before = Forward(m, c.steps);
        EXPECT_EQ(m.History().Size(), c.steps) << c.name;
        BackToStart(m, before, c.name);
    }
}

TEST(History, RandomProgramsGoBackExactly) {
    std::mt19937 random(12);
    for (int program = 0; program < 25; ++program) {
        TTestMachine m;
        for (int a = 0; a < 256; ++a) m.Poke(a, {int(random() % 256)});
        for (int r = 0; r < 16; ++r) m.Registers.SetContents(r, int(random() % 256));
        m.SysRegs.SetContents(PcIndex, int(random() % 256));
        const auto before = Forward(m, 300);
        BackToStart(m, before, "program " + std::to_string(program));
    }
}

// Every word, executed once: the entry tells exactly the write the stores saw.
TEST(History, EntryIsTheWriteTheStoresSaw) {
    struct TSeen final : TSimulationObserver {
        std::vector<TStepWrite> Writes;
        int SysWrites = 0;
        void MemoryChanged(const TCellChange& c) override {
            Writes.push_back({TWriteKind::Memory, c.Index, c.Old, c.New});
        }
        void RegisterChanged(const TCellChange& c) override {
            Writes.push_back({TWriteKind::Register, c.Index, c.Old, c.New});
        }
        void SysRegChanged(const TCellChange& c) override {
            if (++SysWrites > 2) Writes.push_back({TWriteKind::Pc, c.Index, c.Old, c.New});
        }
    };
    std::mt19937 random(7);
    for (int word = 0; word < 0x10000; ++word) {
        TTestMachine m(1);
        m.Poke(0x40, {word >> 8, word & 0xFF});
        for (int r = 0; r < 16; ++r) m.Registers.SetContents(r, int(random() % 256));
        m.SysRegs.SetContents(PcIndex, 0x40);
        TSeen seen;
        m.Simulation.AddObserver(&seen);
        const TStepResult result = m.Simulation.Step();
        m.Simulation.RemoveObserver(&seen);
        const THistoryEntry e = m.History().Entry(0);
        ASSERT_LE(seen.Writes.size(), 1u) << std::hex << word;
        const TStepWrite w = seen.Writes.empty() ? TStepWrite{} : seen.Writes[0];
        ASSERT_EQ(e.Write.Kind, w.Kind) << std::hex << word;
        ASSERT_EQ(e.Write.Index, w.Index) << std::hex << word;
        ASSERT_EQ(e.Write.Old, w.Old) << std::hex << word;
        ASSERT_EQ(e.Write.New, w.New) << std::hex << word;
        ASSERT_EQ(e.Result(), result) << std::hex << word;
        ASSERT_EQ(e.Word, word);
        ASSERT_EQ(e.Pc, 0x40);
    }
}

TEST(History, KeepsTheNewestStepsUpToItsCapacity) {
    TTestMachine m(1000);
    m.Poke(0, {0x21, 0x01, 0x52, 0x21, 0x32, 0x80, 0xB0, 0x02});  // count into R2 and [80]
    const THistory& history = m.History();
    std::vector<TSnapshot> before = Forward(m, 2500);
    EXPECT_EQ(history.Size(), 1000);
    EXPECT_EQ(history.FirstStep(), 1501);
    EXPECT_EQ(history.LastStep(), 2500);
    EXPECT_EQ(history.Entry(0).Step, 1501);
    const auto last = history.Last(3);
    ASSERT_EQ(last.size(), 3u);
    EXPECT_EQ(last[0].Step, 2498);
    EXPECT_EQ(last[2].Step, 2500);
    EXPECT_EQ(history.Last(5000).size(), 1000u);
    before.erase(before.begin(), before.begin() + 1500);
    BackToStart(m, before, "ring");
}

// Records that cross chunk boundaries and the ring's end, with steps taken back between
// them, read back exactly: step i is a store to [i] of i * 3 after i >> 8, fetched at i.
TEST(History, RecordsSurviveChunkAndRingBoundaries) {
    auto word = [](long long i) { return 0x3000 | static_cast<int>(i & 0xFFF); };
    for (const long long capacity : {70'000LL, 131'072LL}) {
        THistory history(capacity);
        TTestMachine m(1);
        long long step = 0;
        auto record = [&](long long n) {
            for (long long end = step + n; step < end; ++step)
                history.Record(int(step & 0xFF), word(step - 1), word(step),
                               {TWriteKind::Memory, int(step & 0xFF), int((step >> 8) & 0xFF),
                                int((step * 3) & 0xFF)});
        };
        auto check = [&](const char* when) {
            ASSERT_EQ(history.LastStep(), step) << when;
            for (long long k = 0; k < history.Size(); ++k) {
                const THistoryEntry e = history.Entry(k);
                const long long i = e.Step - 1;
                const std::string where = std::string(when) + " entry " + std::to_string(k);
                ASSERT_EQ(e.Step, step - history.Size() + k + 1) << where;
                ASSERT_EQ(e.Pc, i & 0xFF) << where;
                ASSERT_EQ(e.Word, word(i)) << where;
                ASSERT_EQ(e.OldIr, word(i - 1)) << where;
                ASSERT_EQ(e.Write.Index, i & 0xFF) << where;
                ASSERT_EQ(e.Write.Old, (i >> 8) & 0xFF) << where;
                ASSERT_EQ(e.Write.New, (i * 3) & 0xFF) << where;
            }
        };
        record(capacity + 65'000);
        for (int back = 0; back < 5; ++back, --step) ASSERT_TRUE(history.StepBack(m.Stores()));
        record(1000);
        check("after steps back");
        record(2 * capacity + 123);
        ASSERT_EQ(history.Size(), capacity);
        check("wrapped");
        EXPECT_EQ(history.LastWriteOf(TWriteKind::Memory, int((step - 1) & 0xFF))->Step, step);
    }
}

TEST(History, DefaultDepthFitsIn64MiB) {
    THistory history;
    for (long long i = 0; i < 11'500'000; ++i) history.Record(0, 0, 0xB000, {});
    EXPECT_GE(history.Size(), 10'000'000);
    EXPECT_EQ(history.Size(), history.Capacity());
    EXPECT_LE(history.MemoryBytes(), 64u << 20);
    EXPECT_EQ(history.LastStep(), 11'500'000);
}

TEST(History, LastWriterOfACell) {
    TTestMachine m(4);
    // 00 load R1,05   02 store R1,[80]   04 load R1,07   06 store R1,[80]   08 load R2,09
    m.Poke(0, {0x21, 0x05, 0x31, 0x80, 0x21, 0x07, 0x31, 0x80, 0x22, 0x09});
    m.Poke(0x80, {0x33});
    const THistory& history = m.History();
    Forward(m, 4);
    struct Query {
        TWriteKind kind;
        int index;
        long long step;  // 0: none
        int old;
    };
    auto check = [&](const char* when, std::initializer_list<Query> queries) {
        for (const Query& q : queries) {
            const auto e = history.LastWriteOf(q.kind, q.index);
            ASSERT_EQ(e.has_value(), q.step != 0) << when << " " << q.index;
            if (!e) continue;
            EXPECT_EQ(e->Step, q.step) << when << " " << q.index;
            EXPECT_EQ(e->Write.Old, q.old) << when << " " << q.index;
        }
    };
    check("forward", {{TWriteKind::Memory, 0x80, 4, 0x05},
                      {TWriteKind::Register, 1, 3, 0x05},
                      {TWriteKind::Register, 2, 0, 0},
                      {TWriteKind::Memory, 0x81, 0, 0}});
    m.Simulation.StepBack();
    check("one back", {{TWriteKind::Memory, 0x80, 2, 0x33}, {TWriteKind::Register, 1, 3, 0x05}});
    Forward(m, 3);  // steps 4, 5, 6; steps 1 and 2 leave the ring
    check("evicted", {{TWriteKind::Memory, 0x80, 4, 0x05},
                      {TWriteKind::Register, 1, 3, 0x05},
                      {TWriteKind::Register, 2, 5, 0x00}});
    m.Simulation.ClearHistory();
    check("cleared", {{TWriteKind::Memory, 0x80, 0, 0}, {TWriteKind::Register, 1, 0, 0}});
}

}  // namespace
