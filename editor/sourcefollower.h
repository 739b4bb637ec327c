#pragma once
// Ties an editor's text to the simulation it assembles into: which addresses each line
// placed in the editor's last assembly into memory (the simulation's source map while
// the editor owns it), the breakpoint dots and clicks in the gutter, and the mark on the
// line whose code holds PC. The mark lasts from an assembly into memory until the text
// is edited or the user changes memory.

#include <array>
#include <vector>

#include "core/simulation.h"

class TSourceEdit;

class TSourceFollower final : public TSimulationObserver {
public:
    TSourceFollower(TSourceEdit& edit, TSimulation& simulation);
    ~TSourceFollower() override;
    TSourceFollower(const TSourceFollower&) = delete;
    TSourceFollower& operator=(const TSourceFollower&) = delete;

    // Null once the simulation has gone.
    TSimulation* Simulation() const { return sim_; }
    // The source owner of this editor's programs (see TSimulation::NewSourceOwner).
    int Owner() const { return owner_; }

    void TextEdited();
    // The breakpoint address for line: the first address it placed, else that of the next
    // line that placed one; -1 when there is none.
    int AddressOfLine(int line) const;
    void ToggleBreakpointAt(int line);

private:
    void ImageLoaded() override;
    void MemoryChanged(const TCellChange& change) override;
    void BreakpointsChanged() override;
    void PcShown(int pc) override;
    void SimulationGone() override;

    bool HasDot(int line) const;
    void EndMark();

    TSourceEdit& edit_;
    TSimulation* sim_;
    int owner_;
    std::vector<int> firstAddress_;  // per line, -1: placed nothing
    std::array<int, 256> lineOf_{};  // per address, -1: no line
    bool marking_ = false;
};
