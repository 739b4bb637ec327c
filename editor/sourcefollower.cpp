#include "editor/sourcefollower.h"

#include <QTextDocument>
#include <algorithm>

#include "editor/linetracker.h"
#include "editor/sourceedit.h"

namespace {

std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

}  // namespace

TSourceFollower::TSourceFollower(TSourceEdit& edit, TSimulation& simulation)
    : edit_(edit),
      sim_(&simulation),
      lines_(std::make_unique<TLineTracker>(*edit.document())),
      owner_(simulation.NewSourceOwner()) {
    lineOf_.fill(-1);
    edit_.HasDot = [this](int line) {
        const auto& lines = lines_->Lines();
        return line >= 0 && At(line) < lines.size() && lines[At(line)].Dot;
    };
    edit_.GutterClicked = [this](int line) { ToggleBreakpointAt(line); };
    edit_.SetHollow(true);
    sim_->AddObserver(this);
}

TSourceFollower::~TSourceFollower() {
    if (sim_) sim_->RemoveObserver(this);
    edit_.HasDot = nullptr;
    edit_.GutterClicked = nullptr;
}

void TSourceFollower::Load(TProgramLoad program, const QString* text) {
    if (!sim_) return;
    if (!text) program.Source = NoSourceMap;
    program.SourceOwner = owner_;
    loadingText_ = text;
    sim_->LoadImage(program);
    loadingText_ = nullptr;
}

// Memory holds a program (PC is written next). This editor's: its dots become breakpoints
// at their lines' new addresses, and breakpoints outside the old program's code stay.
void TSourceFollower::ImageLoaded() {
    if (sim_->SourceOwner() != owner_) return Leave();
    std::bitset<256> next;
    if (inMemory_)
        for (int a = 0; a < 256; ++a)
            if (sim_->Breakpoints().Has(a) && lineOf_[At(a)] < 0) next.set(At(a));
    TakeMap(sim_->SourceMap());
    if (loadingText_) {
        lines_->MarkAssembled();
        assembledText_ = *loadingText_;
    } else {
        assembledText_.clear();
    }
    inMemory_ = true;
    marking_ = true;
    endedAt_ = -1;
    const auto& lines = lines_->Lines();
    for (std::size_t line = 0; line < lines.size(); ++line) {
        const int code = lines[line].Dot ? CodeLineFrom(lines[line].Assembled) : -1;
        if (code >= 0) next.set(At(firstAddress_[At(code)]));
    }
    sim_->SetBreakpoints(next);
    TextEdited();
}

void TSourceFollower::TakeMap(const TSourceMap& map) {
    firstAddress_.clear();
    for (int address = 0; address < 256; ++address) {
        const int line = map[At(address)];
        lineOf_[At(address)] = line;
        if (line < 0) continue;
        if (At(line) >= firstAddress_.size()) firstAddress_.resize(At(line) + 1, -1);
        if (firstAddress_[At(line)] < 0) firstAddress_[At(line)] = address;
    }
}

void TSourceFollower::Leave() {
    if (!inMemory_) return;
    inMemory_ = false;
    marking_ = false;
    RemoveDots();
    edit_.SetMarkedLine(-1);
    ShowState();
}

void TSourceFollower::TextEdited() {
    changed_ = inMemory_ && edit_.document()->toPlainText() != assembledText_;
    if (sim_) ShowMark(sim_->Stores().SysRegs.GetContents(PcIndex), false);
    ShowState();
}

void TSourceFollower::TextReplaced() {
    lines_->Reset();
    if (inMemory_ && sim_) {
        Leave();
        owner_ = sim_->NewSourceOwner();  // the next assembly is another program
    }
    ShowState();
}

void TSourceFollower::ShowState() {
    edit_.SetHollow(!inMemory_ || changed_);
    edit_.UpdateGutter();
    if (StateChanged) StateChanged();
}

int TSourceFollower::CodeLineFrom(int assembledLine) const {
    for (int line = std::max(assembledLine, 0); At(line) < firstAddress_.size(); ++line)
        if (firstAddress_[At(line)] >= 0) return line;
    return -1;
}

std::bitset<256> TSourceFollower::AddressesOf(int assembledLine) const {
    std::bitset<256> addresses;
    for (int a = 0; a < 256; ++a)
        if (lineOf_[At(a)] == assembledLine) addresses.set(At(a));
    return addresses;
}

int TSourceFollower::AddressOfLine(int line) const {
    const auto& lines = lines_->Lines();
    if (!inMemory_ || line < 0 || At(line) >= lines.size()) return -1;
    const int assembled = lines[At(line)].Assembled;
    const int code = assembled < 0 ? -1 : CodeLineFrom(assembled);
    return code < 0 ? -1 : firstAddress_[At(code)];
}

void TSourceFollower::ToggleBreakpointAt(int line) {
    auto& lines = lines_->Lines();
    if (!sim_ || line < 0 || At(line) >= lines.size()) return;
    if (!inMemory_ || lines[At(line)].Assembled < 0) {
        lines[At(line)].Dot = !lines[At(line)].Dot;
        edit_.UpdateGutter();
        return;
    }
    const int code = CodeLineFrom(lines[At(line)].Assembled);
    if (code < 0) return;
    // A line shows one dot for any of its addresses: a click takes them all away.
    std::bitset<256> set = sim_->Breakpoints().Addresses();
    const std::bitset<256> own = AddressesOf(code);
    if ((set & own).any())
        set &= ~own;
    else
        set.set(At(firstAddress_[At(code)]));
    sim_->SetBreakpoints(set);
}

void TSourceFollower::DotsFromBreakpoints() {
    std::vector<bool> set(firstAddress_.size(), false);
    for (int a = 0; a < 256; ++a)
        if (sim_->Breakpoints().Has(a) && lineOf_[At(a)] >= 0) set[At(lineOf_[At(a)])] = true;
    for (TTrackedLine& line : lines_->Lines())
        if (line.Assembled >= 0)
            line.Dot = At(line.Assembled) < set.size() && set[At(line.Assembled)];
    edit_.UpdateGutter();
}

void TSourceFollower::BreakpointsChanged() {
    if (inMemory_) DotsFromBreakpoints();
}

void TSourceFollower::RemoveDots() {
    for (TTrackedLine& line : lines_->Lines()) line.Dot = false;
    edit_.UpdateGutter();
}

// The line now holding the code at PC, or after the program ended, while PC stays past
// it, the line that executed last.
void TSourceFollower::ShowMark(int pc, bool reveal) {
    pc &= 0xFF;
    int line = -1;
    TLineMark kind = TLineMark::Current;
    if (marking_) {
        int address = pc;
        if (endedAt_ >= 0 && pc == ((endedAt_ + 2) & 0xFF)) {
            address = endedAt_;
            kind = TLineMark::LastExecuted;
        } else {
            endedAt_ = -1;
        }
        const int assembled = lineOf_[At(address)];
        const auto& lines = lines_->Lines();
        for (std::size_t i = 0; assembled >= 0 && i < lines.size() && line < 0; ++i)
            if (lines[i].Assembled == assembled) line = static_cast<int>(i);
    }
    if (line != edit_.MarkedLine() || kind != edit_.MarkKind())
        edit_.SetMarkedLine(line, kind, reveal);
}

void TSourceFollower::PcShown(int pc) {
    ShowMark(pc);
}

void TSourceFollower::ProgramEnded(int address) {
    if (!marking_) return;
    endedAt_ = address;
    ShowMark(sim_->Stores().SysRegs.GetContents(PcIndex));
}

void TSourceFollower::MemoryChanged(const TCellChange& change) {
    if (change.Origin != TWriteOrigin::User || !marking_ || lineOf_[At(change.Index & 0xFF)] < 0)
        return;
    marking_ = false;
    edit_.SetMarkedLine(-1);
}

void TSourceFollower::SimulationGone() {
    sim_ = nullptr;
    marking_ = false;
}
