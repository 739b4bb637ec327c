#include "editor/sourcefollower.h"

#include <algorithm>

#include "asm/asmparse.h"
#include "editor/sourceedit.h"

TSourceFollower::TSourceFollower(TSourceEdit& edit, TAssembleTarget& target)
    : edit_(edit), target_(&target) {
    lineOf_.fill(-1);
    edit_.HasDot = [this](int line) { return HasDot(line); };
    edit_.GutterClicked = [this](int line) { ToggleBreakpointAt(line); };
    target_->AddFollower(this);
}

TSourceFollower::~TSourceFollower() {
    if (target_) target_->RemoveFollower(this);
    edit_.HasDot = nullptr;
    edit_.GutterClicked = nullptr;
}

void TSourceFollower::Assembled(const TAsmParser& parser) {
    firstAddress_.clear();
    for (int address = 0; address < 256; ++address) {
        const int line = parser.SourceLine(address);
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
    if (address >= 0 && target_) target_->ToggleBreakpoint(address);
}

bool TSourceFollower::HasDot(int line) const {
    if (line < 0 || static_cast<std::size_t>(line) >= firstAddress_.size()) return false;
    const int address = firstAddress_[static_cast<std::size_t>(line)];
    return address >= 0 && target_ && target_->HasBreakpoint(address);
}

void TSourceFollower::BreakpointsChanged() {
    edit_.UpdateGutter();
}

void TSourceFollower::PcShown(int pc) {
    if (!marking_) return;
    const int line = lineOf_[static_cast<std::size_t>(pc & 0xFF)];
    if (line != edit_.MarkedLine()) edit_.SetMarkedLine(line);
}

void TSourceFollower::MemoryEdited() {
    EndMark();
}

void TSourceFollower::EndMark() {
    if (!marking_) return;
    marking_ = false;
    edit_.SetMarkedLine(-1);
}

void TSourceFollower::TargetGone() {
    target_ = nullptr;
    marking_ = false;
}
