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

    // Appends one executed step. Inline, as a run records every step it executes.
    void Record(int pc, int oldIr, int word, const TStepWrite& write) {
        if (room_ == 0) FindRoom();
        uint8_t* r = tail_;
        if (size_ == capacity_) {  // the newest record takes the oldest one's place
            baseIr_ = r[WordHigh] << 8 | r[WordLow];
            head_ = head_ + 1 == capacity_ ? 0 : head_ + 1;
            ++firstStep_;
        } else {
            if (size_ == 0) baseIr_ = oldIr;
            ++size_;
        }
        r[WordHigh] = static_cast<uint8_t>(word >> 8);
        r[WordLow] = static_cast<uint8_t>(word);
        r[FetchByte] = static_cast<uint8_t>(pc);
        const bool wrote = write.Kind != TWriteKind::None;
        r[OldByte] = static_cast<uint8_t>(wrote ? write.Old : 0);
        r[NewByte] = static_cast<uint8_t>(wrote ? write.New : 0);
        r[ExtraByte] = static_cast<uint8_t>(write.Kind == TWriteKind::Memory ? write.Index
                                            : write.Kind == TWriteKind::Pc   ? 1
                                                                             : 0);
        tail_ += RecordBytes;
        --room_;
        if (const int slot = SlotOf(write.Kind, write.Index); slot >= 0)
            lastWrite_[slot] = LastStep();
    }

private:
    static constexpr int ChunkShift = 16;  // records per chunk: 65,536 (384 KiB)
    static constexpr long long ChunkRecords = 1LL << ChunkShift;
    static constexpr int Slots = 256 + 16;  // memory cells, then registers

    // A record: word (2 bytes), fetch address, old value, new value, and a last byte that
    // holds what the word alone does not tell: the address of a memory write (indirect
    // stores compute it) or whether a jump was taken.
    enum : int { WordHigh, WordLow, FetchByte, OldByte, NewByte, ExtraByte };

    uint8_t* Slot(long long position);
    const uint8_t* Slot(long long position) const;
    long long Position(long long i) const {
        const long long p = head_ + i;
        return p < capacity_ ? p : p - capacity_;
    }
    void FindRoom();
    static int SlotOf(TWriteKind kind, int index) {
        switch (kind) {
            case TWriteKind::Memory:
                return index & 0xFF;
            case TWriteKind::Register:
                return 256 + (index & 0xF);
            default:
                return -1;
        }
    }

    long long capacity_;
    long long head_ = 0;  // position of the oldest record
    long long size_ = 0;
    long long firstStep_ = 1;
    int baseIr_ = 0;  // IR before the oldest record
    std::vector<std::unique_ptr<uint8_t[]>> chunks_;
    // Where the next record goes, and how many fit there in a row (0: found when needed).
    uint8_t* tail_ = nullptr;
    long long room_ = 0;
    // The newest step that wrote each slot: before FirstStep() none in the history, -1
    // not known since a step back (found by a search when asked).
    mutable std::array<long long, Slots> lastWrite_{};
};
