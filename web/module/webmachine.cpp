#include "web/module/webmachine.h"

#include <algorithm>

#include "core/cp437.h"
#include "core/disasm.h"

namespace {

// The indices whose cell differs from what was shown, which then shows the cell.
template <std::size_t N>
std::vector<int> Differences(const CellStore& store, std::array<int, N>& shown) {
    std::vector<int> changed;
    for (int i = 0; i < static_cast<int>(N); ++i) {
        const int value = store.GetContents(i);
        if (value == shown[static_cast<std::size_t>(i)]) continue;
        shown[static_cast<std::size_t>(i)] = value;
        changed.push_back(i);
    }
    return changed;
}

}  // namespace

TWebMachine::TWebMachine() : sourceOwner_(machine_.Simulation.NewSourceOwner()) {
    Simulation().AddObserver(this, TSimulation::TNeeds::NoWrites);
    Simulation().SetWatching(true);  // the status bar shows the notes
}

TWebMachine::~TWebMachine() {
    Simulation().RemoveObserver(this);
}

TMachineChanges TWebMachine::TakeChanges() {
    TMachineChanges changes = std::move(changes_);
    changes_ = {};
    changes.Memory = Differences(machine_.MainMemory, shownMemory_);
    changes.Registers = Differences(machine_.Registers, shownRegisters_);
    for (const int index : Differences(machine_.SysRegs, shownSysRegs_))
        (index == PcIndex ? changes.Pc : changes.Ir) = true;
    return changes;
}

void TWebMachine::UserWrite(CellStore& store, int index, int value) {
    if (index < 0 || index >= store.Count()) return;
    if (&store == &machine_.MainMemory) marking_ = false;
    store.SetContents(index, value);
}

void TWebMachine::SetMemory(int address, int value) {
    UserWrite(machine_.MainMemory, address, value & 0xFF);
}

void TWebMachine::SetRegister(int number, int value) {
    UserWrite(machine_.Registers, number, value & 0xFF);
}

void TWebMachine::SetPc(int value) {
    UserWrite(machine_.SysRegs, PcIndex, value & 0xFF);
}

void TWebMachine::SetIr(int value) {
    UserWrite(machine_.SysRegs, IrIndex, value & 0xFFFF);
}

void TWebMachine::ClearMemory() {
    marking_ = false;
    Simulation().ClearMemory();
    status_ = ReadyStatus();
}

void TWebMachine::ClearRegisters() {
    for (int r = 0; r < 16; ++r) machine_.Registers.SetContents(r, 0);
    status_ = ReadyStatus();
}

TRunOutcome TWebMachine::Step() {
    note_.clear();
    const TRunOutcome outcome = OutcomeOf(Simulation().Step());
    status_ = OutcomeStatus(outcome, machine_.SysRegs.GetContents(PcIndex));
    return outcome;
}

std::optional<TVerdict> TWebMachine::PredictStep(std::string_view text) {
    const std::optional<TPrediction> prediction = ParsePrediction(text);
    if (!prediction) return std::nullopt;
    Step();
    std::optional<TVerdict> verdict =
        JudgeLastStep(*prediction, machine_.Stores(), Simulation().History());
    if (verdict) score_.Count(verdict->Right);
    return verdict;
}

TRunOutcome TWebMachine::StepBack() {
    const TRunOutcome outcome =
        Simulation().StepBack() ? TRunOutcome::Limit : TRunOutcome::HistoryStart;
    status_ = OutcomeStatus(outcome, machine_.SysRegs.GetContents(PcIndex));
    return outcome;
}

void TWebMachine::StartRun(bool back) {
    if (Simulation().Running()) return;
    status_ = RunningStatus();
    note_.clear();
    Simulation().StartRun(back);
    Simulation().FreezeViews(true);  // the page looks once a frame (TakeChanges)
}

TSliceResult TWebMachine::RunSlice(long long count) {
    const long long before = Simulation().RunSteps();
    const TRunOutcome outcome = Simulation().RunSlice(count);
    return {outcome, Simulation().RunSteps() - before, Simulation().Running()};
}

void TWebMachine::Stop() {
    Simulation().StopRun();
    status_ = ReadyStatus();
}

void TWebMachine::ImageLoaded() {
    changes_.Loaded = true;
    score_ = {};
    note_.clear();
}

void TWebMachine::Stopped(TRunOutcome outcome) {
    status_ = OutcomeStatus(outcome, machine_.SysRegs.GetContents(PcIndex));
}

void TWebMachine::OutputWritten(int value) {
    changes_.Output.push_back(static_cast<int16_t>(value & 0xFF));
}

void TWebMachine::OutputTakenBack() {
    changes_.Output.push_back(-1);
}

std::vector<std::string> TWebMachine::Disassembly() const {
    TDisasmList list;
    list.Rebuild(machine_.MainMemory, machine_.SysRegs.GetContents(PcIndex) & 1);
    std::vector<std::string> lines;
    lines.reserve(TDisasmList::LineCount);
    for (int line = 0; line < TDisasmList::LineCount; ++line) lines.push_back(list.Line(line));
    return lines;
}

TAssembly TWebMachine::Assemble(std::string_view text) {
    TAssembly assembly = AssembleLines(TMemoryTextSource(EditorTextToCp437(text)));
    if (!assembly.Ok) return assembly;
    TProgramLoad program(assembly.Image);
    program.Source = assembly.SourceMap;
    program.Placement = assembly.Placement;
    program.SourceOwner = sourceOwner_;
    Simulation().LoadImage(program);
    editorMap_ = assembly.SourceMap;
    marking_ = true;
    return assembly;
}

int TWebMachine::BreakpointAddressOfLine(int line) const {
    int address = -1, placedBy = -1;
    for (int a = 0; a < 256; ++a) {
        const int l = editorMap_[static_cast<std::size_t>(a)];
        if (l >= std::max(line, 0) && (address < 0 || l < placedBy)) address = a, placedBy = l;
    }
    return address;
}

int TWebMachine::MarkedLine() const {
    return marking_
               ? editorMap_[static_cast<std::size_t>(machine_.SysRegs.GetContents(PcIndex) & 0xFF)]
               : -1;
}

std::string TWebMachine::OpenImage(std::string_view bytes) {
    try {
        const TMemoryImage image = ParseMemoryImage(bytes);
        marking_ = false;
        Simulation().LoadImage(TProgramLoad(image));
    } catch (const EFileError& e) {
        return e.what();
    }
    return {};
}

void TWebMachine::LoadStart(const TStartState& start) {
    TProgramLoad program = StartLoad(start);
    program.SourceOwner = sourceOwner_;  // the editor's program: its breakpoints stay
    marking_ = false;
    Simulation().LoadImage(program);
}
