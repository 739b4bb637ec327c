#pragma once
// The execution history: every executed instruction with its one write, kept in a
// fixed-size ring of packed records so that going back is exact and costs nothing to
// keep. The simulation records every step it executes and clears the history when
// anything else changes the machine, as the older steps then describe another machine;
// the oldest steps go first when the ring is full.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/execute.h"

// What an instruction wrote besides PC and IR.
enum class TWriteKind : uint8_t {
    None,      // a jump not taken, halt, an invalid word
    Register,  // Index 0..15
    Memory,    // Index 0..255
    Pc,        // a taken jump; Old is the address after the fetch
};

struct TStepWrite {
    TWriteKind Kind = TWriteKind::None;
    int Index = 0;
    int Old = 0;
    int New = 0;
};

struct THistoryEntry {
    long long Step = 0;  // 1 for the first instruction after the history was cleared
    int Pc = 0;          // the fetch address
    int Word = 0;        // the instruction word, IR after the step
    int OldIr = 0;       // IR before the step
    TStepWrite Write;

    TStepResult Result() const;  // as the step returned it
    // The character the step sent to the output (every write to RF is one).
    std::optional<int> Output() const;
};

class THistory {
public:
    // 6 bytes a step: 11,000,000 steps fit in 63 MiB.
    static constexpr long long DefaultCapacity = 11'000'000;
    static constexpr int RecordBytes = 6;

    explicit THistory(long long capacity = DefaultCapacity);

    long long Capacity() const { return capacity_; }
    long long Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    long long FirstStep() const { return firstStep_; }  // step of Entry(0)
    long long LastStep() const { return firstStep_ + size_ - 1; }
    size_t MemoryBytes() const;  // what the ring holds allocated now

    // Forgets every step; the next one recorded is step 1.
    void Clear();

    // i from 0 (oldest) to Size() - 1 (newest).
    THistoryEntry Entry(long long i) const;
    // The newest min(n, Size()) entries, oldest first.
    std::vector<THistoryEntry> Last(long long n) const;

    // The newest step that wrote the memory cell or register (kind Memory or Register),
    // if it is still in the history; its Write.Old is the value before.
    std::optional<THistoryEntry> LastWriteOf(TWriteKind kind, int index) const;

    // Takes back the newest step: its write, IR and PC get their old values through
    // SetContents, in that order. Returns the step taken back, nullopt when the history
    // is empty; its Output() is the character to take back from the output.
    std::optional<THistoryEntry> StepBack(const TMachineStores& m);

    // Appends one executed step.
    void Record(int pc, int oldIr, int word, const TStepWrite& write);

private:
    static constexpr int ChunkShift = 16;  // records per chunk: 65,536 (384 KiB)
    static constexpr long long ChunkRecords = 1LL << ChunkShift;
    static constexpr int Slots = 256 + 16;  // memory cells, then registers

    uint8_t* Slot(long long position);
    const uint8_t* Slot(long long position) const;
    long long Position(long long i) const {
        const long long p = head_ + i;
        return p < capacity_ ? p : p - capacity_;
    }
    void Evict();
    static int SlotOf(TWriteKind kind, int index);

    long long capacity_;
    long long head_ = 0;  // position of the oldest record
    long long size_ = 0;
    long long firstStep_ = 1;
    int baseIr_ = 0;  // IR before the oldest record
    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    // The newest step that wrote each slot: 0 none in the history, -1 not known since
    // a step back (found by a search when asked).
    mutable std::array<long long, Slots> lastWrite_{};
};
