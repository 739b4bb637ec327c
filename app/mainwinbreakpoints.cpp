// The main window's breakpoints and run speed: the Run menu's entries, the dots in the
// disassembly list's margin and a click there.
#include <QActionGroup>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

#include "app/breakpointdelegate.h"
#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "core/disasm.h"
#include "gui/debugcommands.h"
#include "gui/listfocus.h"
#include "gui/named.h"
#include "gui/processvalues.h"

namespace {

struct TSpeedEntry {
    const char* Name;
    const char* Caption;
    int Rate;  // instructions per second, 0: full speed
};
constexpr TSpeedEntry SpeedEntries[] = {
    {"MenuSpeedFull", "&Full speed", 0},     {"MenuSpeed1000", "1000 per second", 1000},
    {"MenuSpeed100", "100 per second", 100}, {"MenuSpeed10", "10 per second", 10},
    {"MenuSpeed2", "2 per second", 2},
};

// The stored choice; anything but one of the entries' rates is full speed.
int StoredRate() {
    bool ok = false;
    const int rate = ProcessValues().RunSpeed.toInt(&ok);
    for (const TSpeedEntry& entry : SpeedEntries)
        if (ok && entry.Rate == rate) return rate;
    return 0;
}

}  // namespace

void TMainWin::CreateBreakpointMenus(QMenu* run) {
    run->addSeparator();
    MenuToggleBreakpoint = NewDebugAction(TDebugCommand::ToggleBreakpoint, this);
    MenuRunToCursor = NewDebugAction(TDebugCommand::RunToCursor, this);
    MenuRemoveAllBreakpoints = NewDebugAction(TDebugCommand::RemoveAllBreakpoints, this);
    run->addActions({MenuToggleBreakpoint, MenuRunToCursor, MenuRemoveAllBreakpoints});
    connect(MenuToggleBreakpoint, &QAction::triggered, this, &TMainWin::ToggleBreakpointClick);
    connect(MenuRunToCursor, &QAction::triggered, this, &TMainWin::RunToCursorClick);
    connect(MenuRemoveAllBreakpoints, &QAction::triggered, this, &TMainWin::RemoveAllBreakpoints);

    SpeedMenu = Named(run->addMenu("Sp&eed"), "SpeedMenu");
    auto* group = new QActionGroup(SpeedMenu);
    for (const TSpeedEntry& entry : SpeedEntries) {
        QAction* action = Named(SpeedMenu->addAction(entry.Caption), entry.Name);
        action->setCheckable(true);
        group->addAction(action);
        const int rate = entry.Rate;
        connect(action, &QAction::triggered, this, [this, rate] { SetRunRate(rate); });
        SpeedActions.push_back(action);
    }
    // The settings are read after the window is built; the menu shows them when it opens.
    connect(run, &QMenu::aboutToShow, this, &TMainWin::ApplyStoredRate);
}

void TMainWin::SetUpBreakpoints() {
    DisasmWin->setItemDelegate(
        new TBreakpointDelegate([this](int row) { return DotOfLine(row); }, DisasmWin));
}

// A line holds two addresses: a breakpoint on the second (reached by a jump, or with PC
// of the other alignment) shows as half a dot.
TBreakpointDot TMainWin::DotOfLine(int row) const {
    const int address = TDisasmList::AddressOfLine(row, pc_);
    if (sim_->Breakpoints().Has(address)) return TBreakpointDot::Full;
    return sim_->Breakpoints().Has(address + 1) ? TBreakpointDot::Half : TBreakpointDot::None;
}

void TMainWin::SetRunRate(int perSecond) {
    ProcessValues().RunSpeed = QString::number(perSecond);
    run_->SetRate(perSecond);
    if (run_->Running()) SetStatus(RunningStatus(run_->RunningBack(), perSecond));
    for (std::size_t i = 0; i < SpeedActions.size(); ++i)
        SpeedActions[i]->setChecked(SpeedEntries[i].Rate == perSecond);
}

void TMainWin::ApplyStoredRate() {
    SetRunRate(StoredRate());
}

void TMainWin::ToggleBreakpointClick() {
    const int line = SelectedRow(*DisasmWin);
    if (line >= 0) sim_->ToggleBreakpoint(TDisasmList::AddressOfLine(line, pc_));
}

void TMainWin::RunToCursorClick() {
    const int line = SelectedRow(*DisasmWin);
    if (line >= 0) RunTo(TDisasmList::AddressOfLine(line, pc_));
}

void TMainWin::RemoveAllBreakpoints() {
    sim_->ClearBreakpoints();
}

void TMainWin::BreakpointsChanged() {
    DisasmWin->viewport()->update();
}

void TMainWin::BreakpointsRemoved(int count) {
    SetStatus(
        count == 1 ? QString("1 breakpoint removed") : QString("%1 breakpoints removed").arg(count),
        TThemeColour::StatusReady);
}

bool TMainWin::DisasmMarginPress(const QEvent& event) {
    if (event.type() != QEvent::MouseButtonPress) return false;
    const auto& mouse = static_cast<const QMouseEvent&>(event);
    const QPoint pos = mouse.position().toPoint();
    if (mouse.button() != Qt::LeftButton || pos.x() >= TBreakpointDelegate::MarginWidth)
        return false;
    const QModelIndex index = DisasmWin->indexAt(pos);
    if (!index.isValid()) return false;
    sim_->ToggleBreakpoint(TDisasmList::AddressOfLine(index.row(), pc_));
    return true;
}
