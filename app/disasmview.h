#pragma once
// Keeps the disassembly list widget in step with memory and PC. While frozen (during a
// run, or around bulk writes) changes only accumulate: the widget is brought up to date
// once, when it thaws, so a run touches it at screen rate and not per instruction.

#include <bitset>
#include <functional>

#include "core/disasm.h"

class QListWidget;

class TDisasmView {
public:
    // Lines for which hasBreakpoint says so are named as such for screen readers.
    TDisasmView(QListWidget& list, std::function<bool(int line)> hasBreakpoint);

    // A memory write, by an executing program or not; true when it marks memory modified.
    bool MemoryChanged(const CellStore& memory, int index, int oldValue, int newValue, int pc,
                       bool executing);
    void PcChanged(const CellStore& memory, int index, int newValue);

    // Freezes nest; the outermost Thaw applies what accumulated, disassembling each line
    // that changed once.
    void Freeze();
    void Thaw();
    bool Frozen() const { return frozen_ > 0; }

    // The first visible line as it will be once thawed.
    int TopLine() const;
    void SetTopLine(int line);  // negative: left as it is

private:
    void Apply();
    void FollowPc(const CellStore& memory, int index, int newValue);

    QListWidget& list_;
    TDisasmList model_;
    int frozen_ = 0;
    std::bitset<TDisasmList::LineCount> dirty_;
    std::bitset<TDisasmList::LineCount> stale_;  // text to rewrite from memory_ when applied
    const CellStore* memory_ = nullptr;
    int pendingPc_ = -1;  // PC to follow when applied, -1: none
    bool selectPending_ = false;
    int selectLine_ = 0;
    int topLine_ = -1;  // pending top line, -1: none
};

// Holds the list frozen while it lives, so that no exit leaves it frozen.
class TDisasmFreeze {
public:
    explicit TDisasmFreeze(TDisasmView& view) : view_(view) { view_.Freeze(); }
    ~TDisasmFreeze() { view_.Thaw(); }
    TDisasmFreeze(const TDisasmFreeze&) = delete;
    TDisasmFreeze& operator=(const TDisasmFreeze&) = delete;

private:
    TDisasmView& view_;
};
