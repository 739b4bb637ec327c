#pragma once
// Ties an editor's text to the simulation it assembles into. The editor whose last
// assembly is the program in memory shows that program's breakpoints as dots on the lines
// that placed their addresses, and marks the line whose code holds PC (after a halt or an
// invalid word, the line that executed last). Its lines keep their addresses as text is
// edited above them, and while the text differs from what it assembled its dots and mark
// are hollow; Assemble puts each dot's breakpoint on its line's new address. An editor whose
// program is not in memory shows only the dots set on it, which become breakpoints when it
// assembles. The mark lasts from that load until the user writes into the program's bytes.

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "core/simulation.h"

class TLineTracker;
class TSourceEdit;

class TSourceFollower final : public TSimulationObserver {
public:
    TSourceFollower(TSourceEdit& edit, TSimulation& simulation);
    ~TSourceFollower() override;
    TSourceFollower(const TSourceFollower&) = delete;
    TSourceFollower& operator=(const TSourceFollower&) = delete;

    // Null once the simulation has gone.
    TSimulation* Simulation() const { return sim_; }

    // This editor's last assembly is the program in memory.
    bool InMemory() const { return inMemory_; }
    // ... and the text is no longer the one it was assembled from.
    bool Changed() const { return inMemory_ && changed_; }
    // Told when InMemory or Changed may have changed.
    std::function<void()> StateChanged;

    // Loads the program into memory as this editor's, assembled from text (its source map
    // then holds), or from no known text (null).
    void Load(TProgramLoad program, const QString* text);
    void TextEdited();
    // The text was replaced by another file's: no line of it was assembled.
    void TextReplaced();

    // The address a breakpoint or a run to the line uses: the first address the line placed
    // in the program in memory, else that of the next line that placed one; -1 for none (a
    // line typed since, or no program of this editor in memory).
    int AddressOfLine(int line) const;
    // On a line of the program in memory, its breakpoint; elsewhere a dot that becomes one
    // when the editor assembles.
    void ToggleBreakpointAt(int line);
    // Every dot, also those not yet breakpoints.
    void RemoveDots();

private:
    void ImageLoaded() override;
    void MemoryChanged(const TCellChange& change) override;
    void BreakpointsChanged() override;
    void BreakpointsRemoved(int) override {
        if (inMemory_) RemoveDots();
    }
    void PcShown(int pc) override;
    void ProgramEnded(int address) override;
    void SimulationGone() override;

    // The first assembled line from line on that placed code; -1 for none.
    int CodeLineFrom(int assembledLine) const;
    std::bitset<256> AddressesOf(int assembledLine) const;
    void TakeMap(const TSourceMap& map);
    void DotsFromBreakpoints();
    // reveal: scroll the mark into view (not while the user types elsewhere).
    void ShowMark(int pc, bool reveal = true);
    void ShowState();
    void Leave();  // another program is in memory

    TSourceEdit& edit_;
    TSimulation* sim_;
    std::unique_ptr<TLineTracker> lines_;
    int owner_;
    const QString* loadingText_ = nullptr;  // while Load runs
    QString assembledText_;
    bool inMemory_ = false;
    bool changed_ = false;
    bool marking_ = false;
    int endedAt_ = -1;  // the address of the instruction that ended the program, -1: none
    std::vector<int> firstAddress_;  // per assembled line, -1: placed nothing
    std::array<int, 256> lineOf_{};  // per address, the assembled line; -1: none
};
