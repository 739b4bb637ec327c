#include "core/history.h"

#include <algorithm>

#include "core/instruction.h"

namespace {

// Where a word's one write goes, as execution does it.
struct TTarget {
    TWriteKind Kind;
    int Register;
};

TTarget TargetOf(int word) {
    const TInstructionWord w{word};
    if (!IsValidInstruction(w)) return {TWriteKind::None, 0};
    switch (InstructionSet[w.Op()].Writes) {
        case TWriteTarget::RegisterR:
            return {TWriteKind::Register, w.R()};
        case TWriteTarget::RegisterX:
            return {TWriteKind::Register, w.X()};
        case TWriteTarget::RegisterY:
            return {TWriteKind::Register, w.Y()};
        case TWriteTarget::MemoryXY:
        case TWriteTarget::MemoryAtRegister:
            return {TWriteKind::Memory, 0};
        case TWriteTarget::Pc:
            return {TWriteKind::Pc, 0};
        case TWriteTarget::None:
            break;
    }
    return {TWriteKind::None, 0};
}

}  // namespace

TStepResult THistoryEntry::Result() const {
    const TInstructionWord w{Word};
    if (!IsValidInstruction(w)) return TStepResult::Invalid;
    return static_cast<TOpcode>(w.Op()) == TOpcode::Halt ? TStepResult::Halted
                                                         : TStepResult::Executed;
}

std::optional<int> THistoryEntry::Output() const {
    if (Write.Kind == TWriteKind::Register && Write.Index == OutputRegister) return Write.New;
    return std::nullopt;
}

THistory::THistory(long long capacity) : capacity_(std::max(1LL, capacity)) {}

size_t THistory::MemoryBytes() const {
    size_t bytes = 0;
    for (long long c = 0; c < static_cast<long long>(chunks_.size()); ++c)
        bytes += std::min(ChunkRecords, capacity_ - c * ChunkRecords) * RecordBytes;
    return bytes;
}

void THistory::Clear() {
    head_ = size_ = room_ = 0;
    firstStep_ = 1;
    lastWrite_.fill(0);
}

uint8_t* THistory::Slot(long long position) {
    const long long chunk = position >> ChunkShift;
    while (static_cast<long long>(chunks_.size()) <= chunk) {
        const long long records = std::min(
            ChunkRecords, capacity_ - static_cast<long long>(chunks_.size()) * ChunkRecords);
        chunks_.push_back(std::make_unique<uint8_t[]>(records * RecordBytes));
    }
    return chunks_[chunk].get() + (position & (ChunkRecords - 1)) * RecordBytes;
}

const uint8_t* THistory::Slot(long long position) const {
    return chunks_[position >> ChunkShift].get() + (position & (ChunkRecords - 1)) * RecordBytes;
}

// The next records go from the tail to the end of its chunk or of the ring, whichever
// comes first; when the ring is full the tail is the oldest record, which they replace.
void THistory::FindRoom() {
    const long long position = Position(size_);
    tail_ = Slot(position);
    room_ = std::min(((position >> ChunkShift) + 1) << ChunkShift, capacity_) - position;
}

THistoryEntry THistory::Entry(long long i) const {
    auto wordOf = [](const uint8_t* record) { return record[WordHigh] << 8 | record[WordLow]; };
    const uint8_t* r = Slot(Position(i));
    THistoryEntry e;
    e.Step = firstStep_ + i;
    e.Word = wordOf(r);
    e.Pc = r[FetchByte];
    e.OldIr = i == 0 ? baseIr_ : wordOf(Slot(Position(i - 1)));
    const TTarget target = TargetOf(e.Word);
    const bool taken = target.Kind != TWriteKind::Pc || r[ExtraByte] != 0;
    if (target.Kind != TWriteKind::None && taken) {
        e.Write.Kind = target.Kind;
        e.Write.Index = target.Kind == TWriteKind::Memory ? r[ExtraByte] : target.Register;
        e.Write.Old = r[OldByte];
        e.Write.New = r[NewByte];
    }
    return e;
}

std::vector<THistoryEntry> THistory::Last(long long n) const {
    n = std::clamp(n, 0LL, size_);
    std::vector<THistoryEntry> entries;
    entries.reserve(n);
    for (long long i = size_ - n; i < size_; ++i) entries.push_back(Entry(i));
    return entries;
}

std::optional<THistoryEntry> THistory::LastWriteOf(TWriteKind kind, int index) const {
    const int slot = SlotOf(kind, index);
    if (slot < 0) return std::nullopt;
    if (lastWrite_[slot] < 0) {
        lastWrite_[slot] = 0;
        for (long long i = size_ - 1; i >= 0; --i)
            if (const THistoryEntry e = Entry(i); SlotOf(e.Write.Kind, e.Write.Index) == slot) {
                lastWrite_[slot] = e.Step;
                break;
            }
    }
    if (lastWrite_[slot] < firstStep_) return std::nullopt;
    return Entry(lastWrite_[slot] - firstStep_);
}

std::optional<THistoryEntry> THistory::StepBack(const TMachineStores& m) {
    if (size_ == 0) return std::nullopt;
    const THistoryEntry e = Entry(size_ - 1);
    --size_;
    room_ = 0;
    switch (e.Write.Kind) {
        case TWriteKind::Register:
            m.Registers.SetContents(e.Write.Index, e.Write.Old);
            break;
        case TWriteKind::Memory:
            m.MainMemory.SetContents(e.Write.Index, e.Write.Old);
            break;
        case TWriteKind::Pc:
        case TWriteKind::None:
            break;
    }
    if (const int slot = SlotOf(e.Write.Kind, e.Write.Index); slot >= 0) lastWrite_[slot] = -1;
    m.SysRegs.SetContents(IrIndex, e.OldIr);
    m.SysRegs.SetContents(PcIndex, e.Pc);
    return e;
}
