#pragma once
// The machine's state lives in three stores of integer cells (memory, registers, PC/IR).
// Execution, the disassembler and the file commands reach them only through this
// contract, so the same code runs on a plain store or on a grid on screen.

#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

class CellStore;

// Raised after every SetContents, also when the value does not change.
using TCellChangedEvent =
    std::function<void(CellStore* Sender, int Index, int OldValue, int NewValue)>;

// A bad cell index: a programming error of the caller.
class EInvalidGridOperation : public std::out_of_range {
public:
    using std::out_of_range::out_of_range;
};

// "<Class>::<Method>: Address (<index>) out of bounds (0..<count - 1>)"
std::string OutOfBoundsMessage(const char* where, int index, int count);

class CellStore {
public:
    virtual ~CellStore() = default;
    virtual int GetContents(int index) const = 0;
    virtual void SetContents(int index, int value) = 0;
    virtual int Count() const = 0;

    TCellChangedEvent OnCellChanged;

protected:
    void NotifyChanged(int index, int oldValue, int newValue) {
        if (OnCellChanged) OnCellChanged(this, index, oldValue, newValue);
    }
};

// The plain store: count cells, all 0 at creation. A bad index is reported in the
// contract's own words, "THexGrid::GetContents" and "THexGrid::SetContents" included:
// whichever store runs, the caller sees the same message the grid gives.
class TCellStore final : public CellStore {
public:
    explicit TCellStore(int count) : cells_(count > 0 ? count : 0) {}

    int GetContents(int index) const override {
        if (index < 0 || index >= Count())
            throw EInvalidGridOperation(
                OutOfBoundsMessage("THexGrid::GetContents", index, Count()));
        return cells_[index];
    }
    void SetContents(int index, int value) override {
        if (index < 0 || index >= Count())
            throw EInvalidGridOperation(
                OutOfBoundsMessage("THexGrid::SetContents", index, Count()));
        const int old = cells_[index];
        cells_[index] = value;
        NotifyChanged(index, old, value);
    }
    int Count() const override { return static_cast<int>(cells_.size()); }

    // The cells themselves, for a run that tells of its writes itself.
    std::span<int> Cells() { return cells_; }

private:
    std::vector<int> cells_;
};
