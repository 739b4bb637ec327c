#include "editor/sourcefollower.h"

#include <algorithm>

#include "editor/sourceedit.h"

TSourceFollower::TSourceFollower(TSourceEdit& edit, TSimulation& simulation)
    : edit_(edit), sim_(&simulation), owner_(simulation.NewSourceOwner()) {
    lineOf_.fill(-1);
    edit_.HasDot = [this](int line) { return HasDot(line); };
    edit_.GutterClicked = [this](int line) { ToggleBreakpointAt(line); };
    sim_->AddObserver(this);
}

TSourceFollower::~TSourceFollower() {
    if (sim_) sim_->RemoveObserver(this);
    edit_.HasDot = nullptr;
    edit_.GutterClicked = nullptr;
}

// This editor's program is now in memory (PC is written next): its map is the one to follow.
void TSourceFollower::ImageLoaded() {
    if (sim_->SourceOwner() != owner_) return;
    const TSourceMap& map = sim_->SourceMap();
    firstAddress_.clear();
    for (int address = 0; address < 256; ++address) {
        const int line = map[static_cast<std::size_t>(address)];
        lineOf_[static_cast<std::size_t>(address)] = line;
        if (line < 0) continue;
        if (static_cast<std::size_t>(line) >= firstAddress_.size())
            firstAddress_.resize(static_cast<std::size_t>(line) + 1, -1);
        int& first = firstAddress_[static_cast<std::size_t>(line)];
        if (first < 0) first = address;
    }
    marking_ = true;
    edit_.UpdateGutter();
}

void TSourceFollower::TextEdited() {
    EndMark();
}

int TSourceFollower::AddressOfLine(int line) const {
    for (std::size_t i = static_cast<std::size_t>(std::max(line, 0)); i < firstAddress_.size(); ++i)
        if (firstAddress_[i] >= 0) return firstAddress_[i];
    return -1;
}

void TSourceFollower::ToggleBreakpointAt(int line) {
    const int address = AddressOfLine(line);
    if (address >= 0 && sim_) sim_->ToggleBreakpoint(address);
}

bool TSourceFollower::HasDot(int line) const {
    if (line < 0 || static_cast<std::size_t>(line) >= firstAddress_.size()) return false;
    const int address = firstAddress_[static_cast<std::size_t>(line)];
    return address >= 0 && sim_ && sim_->Breakpoints().Has(address);
}

void TSourceFollower::BreakpointsChanged() {
    edit_.UpdateGutter();
}

void TSourceFollower::PcShown(int pc) {
    if (!marking_) return;
    const int line = lineOf_[static_cast<std::size_t>(pc & 0xFF)];
    if (line != edit_.MarkedLine()) edit_.SetMarkedLine(line);
}

void TSourceFollower::MemoryChanged(const TCellChange& change) {
    if (change.Origin == TWriteOrigin::User) EndMark();
}

void TSourceFollower::EndMark() {
    if (!marking_) return;
    marking_ = false;
    edit_.SetMarkedLine(-1);
}

void TSourceFollower::SimulationGone() {
    sim_ = nullptr;
    marking_ = false;
}
