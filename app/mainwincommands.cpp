// The main window's commands on the machine: change handlers, the memory clipboard, run
// control and the disassembly list.
#include <QAction>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcutEvent>

#include "app/assembler.h"
#include "app/cleardialog.h"
#include "app/disasmview.h"
#include "app/mainwin.h"
#include "app/predictpanel.h"
#include "app/runcontrol.h"
#include "app/tracewin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "gui/listfocus.h"
#include "gui/prompt.h"

namespace {

constexpr TThemeColour DarkBlue = TThemeColour::StatusSelection;

}  // namespace

// ---------------------------------------------------------------------------------------
// Change handlers

// Output the user or the program wrote stays until a user's change, which starts the
// history afresh: only what the recorded steps wrote can be taken back.
void TMainWin::MainMemoryCellChanged(const TCellChange& c) {
    const bool executing = c.Origin != TWriteOrigin::User;
    if (disasm_->MemoryChanged(*MainMemory, c.Index, c.Old, c.New, pc_, executing))
        SetMemModified(true);
    if (!executing) OutputBox->ForgetWritten();
}

void TMainWin::RegistersCellChanged(const TCellChange& c) {
    if (c.Origin == TWriteOrigin::User) OutputBox->ForgetWritten();
}

void TMainWin::SysRegsCellChanged(const TCellChange& c) {
    if (c.Origin == TWriteOrigin::User) OutputBox->ForgetWritten();
    if (c.Index != PcIndex) return;
    pc_ = c.New;
    disasm_->PcChanged(*MainMemory, c.Index, c.New);
}

void TMainWin::OutputWritten(int value) {
    OutputBox->Write(static_cast<char>(value));
}

void TMainWin::OutputTakenBack() {
    OutputBox->TakeBack();
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
void TMainWin::ViewsFrozen(bool frozen) {
    for (THexGrid* grid : {MainMemory, Registers, SysRegs}) grid->SetQuietChanges(frozen);
    if (frozen)
        disasm_->Freeze();
    else
        disasm_->Thaw();
}

// The list keeps its scroll position and repaints once at the end.
void TMainWin::BulkWrite(bool begins) {
    if (begins) {
        bulkTopLine_ = disasm_->TopLine();
        disasm_->Freeze();
    } else {
        disasm_->Thaw();
        disasm_->SetTopLine(bulkTopLine_);
    }
}

void TMainWin::ImageLoaded() {
    SetMemModified(false);
    PredictPanel->ResetScore();
    ClearNote();
}

void TMainWin::Noted(const TRunNote& note) {
    const QString text = QString::fromStdString(RunNoteText(note));
    NotePanel->setText(text);
    NotePanel->setToolTip(text);
    NotePanel->show();
}

void TMainWin::ClearNote() {
    NotePanel->hide();
    NotePanel->clear();
    NotePanel->setToolTip({});
}

void TMainWin::MemoryCleared() {
    MainMemory->SetModified(false);
    SetMemModified(false);
}

void TMainWin::Activate() {
    activateWindow();
    setFocus();
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

void TMainWin::ShowStepResult(TStepResult result) {
    ShowOutcome(OutcomeOf(result));
}

void TMainWin::ShowOutcome(TRunOutcome outcome) {
    SetStatus(OutcomeStatus(outcome, pc_));
}

void TMainWin::Stopped(TRunOutcome outcome) {
    ShowOutcome(outcome);
    RunButton->setEnabled(!PredictMode());
    BreakButton->setEnabled(false);
    EnableDebugCommands();
}

void TMainWin::EnableDebugCommands() {
    const bool running = run_ && run_->Running();
    MenuBreak->setEnabled(running);
    const bool back = !running && !sim_->History().Empty();
    MenuStepBack->setEnabled(back);
    MenuRunBack->setEnabled(back);
}

void TMainWin::RunSimulator() {
    StartRun(false);
}

void TMainWin::RunBackSimulator() {
    StartRun(true);
}

void TMainWin::RunTo(int address) {
    StartRun(false, address);
}

void TMainWin::StartRun(bool back, int to) {
    if (run_->Running() || (!back && PredictMode())) return;
    ClearNote();
    ApplyStoredRate();
    SetStatus(RunningStatus(back, run_->Rate()));
    RunButton->setEnabled(false);
    BreakButton->setEnabled(true);
    if (back)
        run_->StartBack();
    else if (to >= 0)
        run_->StartTo(to);
    else
        run_->Start();
    EnableDebugCommands();
}

void TMainWin::StepSimulator() {
    std::optional<TPrediction> prediction;
    if (PredictMode() && !(prediction = PredictPanel->Prediction())) return;
    ClearNote();
    SetStatus(RunningStatus());
    ShowStepResult(sim_->Step());
    if (prediction) PredictPanel->Judge(*prediction, *sim_);
    EnableDebugCommands();  // the step is in the history only once it has executed
}

// Refused during a run: the run would go on from a state that is taken back under it.
void TMainWin::StepBackSimulator() {
    if (run_->Running()) return;
    ShowOutcome(sim_->StepBack() ? TRunOutcome::Limit : TRunOutcome::HistoryStart);
    EnableDebugCommands();
}

void TMainWin::MenuTraceClick() {
    auto* window = findChild<TTraceWin*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TTraceWin(*sim_, this);
        const TDebugSteering steering = Steering();
        window->addActions(QList<QAction*>(steering.Shared.begin(), steering.Shared.end()));
    }
    window->show();
    window->raise();
    window->activateWindow();
}

TDebugSteering TMainWin::Steering() {
    return {{MenuStep, MenuStepBack, MenuRun, MenuRunBack, MenuBreak},
            [this](int address) { RunTo(address); }};
}

void TMainWin::BreakSimulator() {
    run_->Stop();
    RunButton->setEnabled(!PredictMode());
    BreakButton->setEnabled(false);
    SetStatus(ReadyStatus());
    EnableDebugCommands();
}

void TMainWin::ClearSimulator() {
    auto* dialog = new TClearDialog(*sim_, this);
    dialog->exec();
    SetStatus(ReadyStatus());
}

void TMainWin::ZeroPCClick() {
    SysRegs->SetContents(PcIndex, 0);
}

// ---------------------------------------------------------------------------------------
// Disassembly list

void TMainWin::DisasmWinDblClick() {
    const int line = SelectedRow(*DisasmWin);
    if (line < 0) return;
    SysRegs->SetContents(PcIndex, TDisasmList::AddressOfLine(line, pc_));
}

void TMainWin::DisasmWinMouseDown(QPoint pos) {
    DisasmWin->setFocus();
    if (QListWidgetItem* item = DisasmWin->itemAt(pos)) SelectRow(*DisasmWin, DisasmWin->row(item));
    AssembleAtDisasmLine();
}

// The keyboard's double click and right click on the current line.
bool TMainWin::DisasmWinKey(const QEvent& event) {
    if (event.type() == QEvent::ContextMenu) {
        if (static_cast<const QContextMenuEvent&>(event).reason() != QContextMenuEvent::Keyboard)
            return false;
        AssembleAtDisasmLine();
        return true;
    }
    if (event.type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(event);
    if (key.keyCombination() == QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)) {
        AssembleAtDisasmLine();
        return true;
    }
    if (key.modifiers() & ~Qt::KeypadModifier) return false;
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    DisasmWinDblClick();
    return true;
}

void TMainWin::AssembleAtDisasmLine() {
    const int line = SelectedRow(*DisasmWin);
    if (line < 0) return;
    auto* dialog = new TAssembleDialog(*MainMemory, this);
    dialog->SetAddress(TDisasmList::AddressOfLine(line, pc_));
    dialog->exec();
    SetStatus(ReadyStatus());
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
    if (watched == DisasmWin && DisasmWinKey(*event)) return true;
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
