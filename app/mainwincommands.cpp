// The main window's commands on the machine: change handlers, the memory clipboard, run
// control and the disassembly list.
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcutEvent>

#include "app/assembler.h"
#include "app/disasmview.h"
#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "app/tracewin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/history.h"
#include "gui/busycursor.h"
#include "gui/prompt.h"

namespace {

constexpr TThemeColour Black = TThemeColour::StatusReady;
constexpr TThemeColour Green = TThemeColour::StatusRunning;
constexpr TThemeColour Red = TThemeColour::StatusStopped;
constexpr TThemeColour DarkBlue = TThemeColour::StatusSelection;

}  // namespace

// ---------------------------------------------------------------------------------------
// Change handlers

// A change that no instruction made (typing, paste, clear, open, assemble, the dialogs,
// =0, the disassembly list) leaves the older steps describing another machine.
void TMainWin::ForgetHistoryUnlessExecuting() {
    if (Executing) return;
    const bool hadSteps = !history_->Empty();
    history_->Clear();
    OutputBox->ForgetWritten();
    if (hadSteps) emit HistoryCleared();
}

void TMainWin::MainMemoryCellChanged(int index, int oldValue, int newValue) {
    if (disasm_->MemoryChanged(*MainMemory, index, oldValue, newValue, pc_)) SetMemModified(true);
    if (!Executing) emit MemoryEdited();
    ForgetHistoryUnlessExecuting();
}

void TMainWin::RegistersCellChanged(int index, int newValue) {
    // Every step back that restores RF takes back the character its step wrote.
    if (index == OutputRegister) {
        if (SteppingBack)
            OutputBox->TakeBack();
        else
            OutputBox->Write(static_cast<char>(newValue));
    }
    ForgetHistoryUnlessExecuting();
}

void TMainWin::SysRegsCellChanged(int index, int newValue) {
    ForgetHistoryUnlessExecuting();
    if (index != PcIndex) return;
    pc_ = newValue;
    disasm_->PcChanged(*MainMemory, index, newValue);
    if (!disasm_->Frozen()) emit PcShown(pc_);
}

void TMainWin::MainMemorySelChanged(int selStart, int selEnd) {
    if (selStart < 0 || selEnd < 0)
        SetStatus("No Selection", DarkBlue);
    else if (selStart == selEnd)
        SetStatus(QString("Selected: %1").arg(selStart), DarkBlue);
    else
        SetStatus(QString("Selected: %1-%2")
                      .arg(std::min(selStart, selEnd))
                      .arg(std::max(selStart, selEnd)),
                  DarkBlue);
}

// The grids and the output repaint changed cells once per frame by themselves; only the
// list needs holding back.
void TMainWin::FreezeViews(bool frozen) {
    for (THexGrid* grid : {MainMemory, Registers, SysRegs}) grid->SetQuietChanges(frozen);
    if (frozen) {
        disasm_->Freeze();
    } else {
        disasm_->Thaw();
        emit PcShown(pc_);
    }
}

void TMainWin::WriteMemoryInBulk(const std::function<void()>& writes) {
    const int top = disasm_->TopLine();
    const TDisasmFreeze freeze(*disasm_);
    writes();
    disasm_->SetTopLine(top);
}

void TMainWin::MemoryCleared() {
    MainMemory->SetModified(false);
    SetMemModified(false);
}

// ---------------------------------------------------------------------------------------
// Memory clipboard

void TMainWin::EditMenuClick() {
    const bool selected = MainMemory->SelStart() >= 0 && MainMemory->SelEnd() >= 0;
    MenuCut->setEnabled(selected);
    MenuCopy->setEnabled(selected);
    MenuPaste->setEnabled(!memClipboard_.empty());
}

void TMainWin::MenuCopyClick() {
    const int lo = MainMemory->GetSelLo(), hi = MainMemory->GetSelHi();
    if (lo < 0 || hi < 0) return;
    MainMemory->UpdateText();  // a value being typed is copied as typed
    memClipboard_.clear();
    for (int a = lo; a <= hi; ++a) memClipboard_.push_back(MainMemory->GetContents(a));
}

void TMainWin::MenuCutClick() {
    if (MainMemory->SelStart() < 0 || MainMemory->SelEnd() < 0) return;
    MenuCopyClick();
    ClearMainMemory();
}

void TMainWin::MenuPasteClick() {
    if (memClipboard_.empty()) {
        Prompt().Warning(this, "Error", "Nothing on the clipboard to paste.");
        return;
    }
    const int lo = MainMemory->GetSelLo(), hi = MainMemory->GetSelHi();
    if (lo < 0 || lo != hi) {
        Prompt().Warning(this, "Error",
                         "No destination selected.\nSelect one cell to mark the start of the "
                         "destination.");
        return;
    }
    const TDisasmFreeze freeze(*disasm_);
    const int count = std::min(static_cast<int>(memClipboard_.size()), 256 - lo);
    for (int i = 0; i < count; ++i) MainMemory->SetContents(lo + i, memClipboard_[i]);
}

void TMainWin::MenuSelectAllClick() {
    MainMemory->SetSelStart(0);
    MainMemory->SetSelEnd(255);
}

void TMainWin::ClearMainMemory() {
    int lo = MainMemory->GetSelLo(), hi = MainMemory->GetSelHi();
    if (lo < 0 && hi < 0) {
        lo = 0;
        hi = 255;
    }
    const TDisasmFreeze freeze(*disasm_);
    for (int a = lo; a <= hi; ++a) MainMemory->SetContents(a, 0);
}

void TMainWin::ClearRegisters() {
    for (int r = 0; r < 16; ++r) Registers->SetContents(r, 0);
}

// ---------------------------------------------------------------------------------------
// Run control

bool TMainWin::Running() const {
    return run_->Running();
}

void TMainWin::ShowStepResult(int result) {
    if (result == StepHalted)
        SetStatus("Halted", Red);
    else if (result == StepInvalid)
        SetStatus("Invalid instruction", Red);
    else if (result == TRunControl::HistoryStart)
        SetStatus("Start of history", Black);
    else if (result == StepBreakpoint)
        SetStatus(
            QString("Breakpoint at %1").arg(QString::number(pc_, 16).toUpper(), 2, QChar('0')),
            Red);
    else
        SetStatus("Ready", Black);
}

void TMainWin::RunSimulator() {
    StartRun(false);
}

void TMainWin::RunBackSimulator() {
    StartRun(true);
}

void TMainWin::StartRun(bool back) {
    if (run_->Running()) return;
    SetStatus("Running...", Green);
    RunButton->setEnabled(false);
    BreakButton->setEnabled(true);
    ApplyStoredRate();
    if (back)
        run_->StartBack();
    else
        run_->Start();
}

void TMainWin::StepSimulator() {
    SetStatus("Running...", Green);
    long long executed = 0;
    ShowStepResult(RunStepsRecorded(Machine(), 1, executed, *history_));
}

void TMainWin::StepBackSimulator() {
    ShowStepResult(history_->StepBack(Machine()) ? StepExecuted : TRunControl::HistoryStart);
}

void TMainWin::StepBackTo(long long step) {
    if (Running()) BreakSimulator();
    const TBusyCursor busy;
    FreezeViews(true);
    while (!history_->Empty() && history_->LastStep() > step) StepBackSimulator();
    FreezeViews(false);
}

void TMainWin::MenuTraceClick() {
    auto* window = findChild<TTraceWin*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) window = new TTraceWin(*this);
    window->show();
    window->raise();
    window->activateWindow();
}

void TMainWin::BreakSimulator() {
    run_->Stop();
    RunButton->setEnabled(true);
    BreakButton->setEnabled(false);
    SetStatus("Ready", Black);
}

void TMainWin::ClearSimulator() {
    auto* dialog = new TClearDialog(*this, this);
    dialog->exec();
    SetStatus("Ready", Black);
}

void TMainWin::ZeroPCClick() {
    SysRegs->SetContents(PcIndex, 0);
}

// ---------------------------------------------------------------------------------------
// Disassembly list

void TMainWin::DisasmWinDblClick() {
    const int line = DisasmWin->currentRow();
    if (line < 0) return;
    SysRegs->SetContents(PcIndex, TDisasmList::AddressOfLine(line, pc_));
}

void TMainWin::DisasmWinMouseDown(QPoint pos) {
    DisasmWin->setFocus();
    if (QListWidgetItem* item = DisasmWin->itemAt(pos)) DisasmWin->setCurrentItem(item);
    const int line = DisasmWin->currentRow();
    if (line < 0) return;
    auto* dialog = new TAssembleDialog(*MainMemory, this);
    dialog->SetAddress(TDisasmList::AddressOfLine(line, pc_));
    dialog->exec();
    SetStatus("Ready", Black);
}

bool TMainWin::ClickButtonOfMnemonic(const QKeySequence& key) {
    for (QPushButton* button : centralWidget()->findChildren<QPushButton*>()) {
        if (button->isEnabled() && button->isVisible() &&
            QKeySequence::mnemonic(button->text()) == key) {
            button->animateClick();
            return true;
        }
    }
    return false;
}

bool TMainWin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        const auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->isAmbiguous() && ClickButtonOfMnemonic(shortcut->key())) return true;
    }
    if (watched == DisasmWin->viewport() && DisasmMarginPress(*event)) return true;
    if (watched == DisasmWin->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            DisasmWinMouseDown(mouse->position().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
