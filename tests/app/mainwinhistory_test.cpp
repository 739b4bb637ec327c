// Step Back and Run Back in the main window: they take back PC, IR, the written cell and
// the output exactly, are no user edit, and every change a user makes forgets the history.
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/asmeditors.h"
#include "app/assembler.h"
#include "app/cleardialog.h"
#include "app/mainwin.h"
#include "app/runcontrol.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/history.h"
#include "core/memfile.h"
#include "editor/asmedit.h"
#include "editor/sourceedit.h"
#include "mainwinfixture.h"
#include "toplevel.h"

class TMainWinHistoryTest : public QObject, TMainWinFixture {
    Q_OBJECT

    struct TState {
        std::vector<int> cells;  // memory, registers, PC, IR
        std::vector<std::string> output;
        bool operator==(const TState&) const = default;
    };
    TState State() const {
        TState s{{}, w->OutputBox->Lines()};
        for (int a = 0; a < 256; ++a) s.cells.push_back(w->MainMemory->GetContents(a));
        for (int r = 0; r < 16; ++r) s.cells.push_back(w->Registers->GetContents(r));
        s.cells.push_back(w->SysRegs->GetContents(PcIndex));
        s.cells.push_back(w->SysRegs->GetContents(IrIndex));
        return s;
    }
    // 00 load RF,48   02 load RF,69   04 store RF,[80]   06 jmp 00
    void LoadProgram() {
        const int bytes[] = {0x2F, 0x48, 0x2F, 0x69, 0x3F, 0x80, 0xB0, 0x00};
        for (int a = 0; a < 8; ++a) w->MainMemory->SetContents(a, bytes[a]);
        w->SysRegs->SetContents(PcIndex, 0);
        w->SetMemModified(false);
    }

private slots:
    void init() {
        StartFresh();
        QVERIFY(ShowWindow());
    }
    void cleanup() { CloseWindow(); }

    void StepBackTakesBackEachStepExactly() {
        LoadProgram();
        std::vector<TState> before;
        for (int i = 0; i < 6; ++i) {
            before.push_back(State());
            w->StepSimulator();
        }
        QCOMPARE(w->OutputBox->Lines().at(0), std::string("HiHi"));
        for (int i = 5; i >= 0; --i) {
            w->MenuStepBack->trigger();
            QCOMPARE(w->PanelText(2), QString("Ready"));
            QVERIFY(State() == before[i]);
        }
        QVERIFY(!w->MemModified());
        // Nothing left to take back: the commands are greyed out, and say so when called.
        QVERIFY(!w->MenuStepBack->isEnabled());
        QVERIFY(!w->MenuRunBack->isEnabled());
        w->StepBackSimulator();
        QCOMPARE(w->PanelText(2), QString("Start of history"));
        QCOMPARE(w->StatusColor(), QColor(Qt::black));
        QVERIFY(State() == before[0]);
    }

    void RunIsRecordedToo() {
        LoadProgram();
        const TState start = State();
        w->SetRunRate(10);
        w->RunSimulator();
        QCOMPARE(w->PanelText(2), QString("Running at 10/s..."));
        w->SetRunRate(0);
        QCOMPARE(w->PanelText(2), QString("Running..."));
        // Taking back under a forward run is refused, and says nothing.
        QVERIFY(!w->MenuStepBack->isEnabled());
        QTRY_VERIFY(w->Simulation().History().Size() > 100);
        w->StepBackSimulator();
        QVERIFY(w->Running());
        QCOMPARE(w->PanelText(2), QString("Running..."));
        w->BreakSimulator();
        while (w->Simulation().History().Size() > 0) w->StepBackSimulator();
        QVERIFY(State() == start);
    }

    void RunBackTakesBackEverythingAndStopsAtTheStart() {
        LoadProgram();
        const TState start = State();
        for (int i = 0; i < 40; ++i) w->StepSimulator();
        w->MenuRunBack->trigger();
        QTRY_COMPARE(w->PanelText(2), QString("Start of history"));
        QVERIFY(State() == start);
        QVERIFY(w->RunButton->isEnabled());
        QVERIFY(!w->BreakButton->isEnabled());
        QVERIFY(!w->MemModified());
    }

    void BreakStopsRunBack() {
        LoadProgram();
        for (int i = 0; i < 40; ++i) w->StepSimulator();
        w->SetRunRate(10);
        w->RunBackSimulator();
        QCOMPARE(w->PanelText(2), QString("Running back..."));
        QTRY_VERIFY(w->Simulation().History().Size() < 40);
        w->BreakSimulator();
        QCOMPARE(w->PanelText(2), QString("Ready"));
        QVERIFY(!w->Running());
        QVERIFY(w->Simulation().History().Size() > 0);
        w->SetRunRate(0);
    }

    // A breakpoint stops run back once PC reaches it after a step was taken back, so
    // starting on one goes on to its previous visit.
    void RunBackStopsAtBreakpoints() {
        LoadProgram();
        for (int i = 0; i < 9; ++i) w->StepSimulator();  // 4 each round: PC 02 after 9
        QCOMPARE(w->SysRegs->GetContents(PcIndex), 0x02);
        w->Simulation().ToggleBreakpoint(0x02);
        const TState atBreakpoint = State();
        w->RunBackSimulator();
        QTRY_COMPARE(w->PanelText(2), QString("Breakpoint at 02"));
        QCOMPARE(w->StatusColor(), QColor(0xFF, 0, 0));
        QCOMPARE(w->Simulation().History().Size(), 5);
        QCOMPARE(w->SysRegs->GetContents(PcIndex), 0x02);
        w->RunBackSimulator();
        QTRY_COMPARE(w->Simulation().History().Size(), 1);
        QCOMPARE(w->PanelText(2), QString("Breakpoint at 02"));
        w->RunBackSimulator();
        QTRY_COMPARE(w->PanelText(2), QString("Start of history"));
        for (int i = 0; i < 9; ++i) w->StepSimulator();
        QVERIFY(State() == atBreakpoint);
        w->RemoveAllBreakpoints();
    }

    void EveryUserChangeForgetsTheHistory() {
        QTemporaryDir dir;
        const QString image = dir.filePath("image.prg");
        WriteMemoryFile(image.toStdString(), TMemoryImage{0x2F, 0x41});
        InstallAssemblerEditors(*w);
        const std::pair<const char*, std::function<void()>> changes[] = {
            {"opening a program", [&] { w->LoadMemoryFile(image); }},
            {"the Clear dialog",
             [&] {
                 TClearDialog dialog(w->Simulation(), w.get());
                 dialog.RegChecked->setChecked(true);
                 dialog.OkButton->click();
             }},
            {"the assemble-instruction dialog",
             [&] {
                 TAssembleDialog dialog(*w->MainMemory, w.get());
                 dialog.SetAddress(0x20);
                 dialog.OkButton->click();
             }},
            {"assembling in an editor",
             [&] {
                 w->AssemblerButton->click();
                 auto* editor = OnlyTopLevelWindow<TAssemblerEditor>("AssemblerEditor");
                 QVERIFY(editor);
                 editor->TextEditor->setPlainText("org 40h\nhalt");
                 prompt->Answers.push_back(TAnswer::No);  // memory changed: not saved
                 editor->AssembleButtonClick();
                 editor->TextEditor->document()->setModified(false);
                 editor->close();
             }},
            {"typing into memory", [&] { w->MainMemory->SetContents(0x90, 1); }},
            {"typing into a register", [&] { w->Registers->SetContents(3, 7); }},
            {"typing into PC", [&] { w->SysRegs->SetContents(PcIndex, 2); }},
            {"=0", [&] { QTest::mouseClick(w->ZeroPC, Qt::LeftButton); }},
            {"double click on the disassembly",
             [&] {
                 w->DisasmWin->setCurrentRow(3);
                 w->DisasmWinDblClick();
             }},
            {"paste",
             [&] {
                 w->MainMemory->SetSelStart(0x40);
                 w->MainMemory->SetSelEnd(0x41);
                 w->MenuCopyClick();
                 w->MainMemory->SetSelStart(0x50);
                 w->MainMemory->SetSelEnd(0x50);
                 w->MenuPasteClick();
             }},
            {"clearing the registers", [&] { w->ClearRegisters(); }},
        };
        for (const auto& [name, change] : changes) {
            LoadProgram();
            for (int i = 0; i < 3; ++i) w->StepSimulator();
            QVERIFY2(w->Simulation().History().Size() == 3, name);
            change();
            const TState changed = State();
            QVERIFY2(w->Simulation().History().Empty(), name);
            w->StepBackSimulator();
            QVERIFY2(w->PanelText(2) == "Start of history", name);
            QVERIFY2(State() == changed, name);  // a step back never undoes a user's edit
        }
    }

    // Hovering over a memory cell shows its value card, with the step that wrote it
    // while the history knows it.
    void HoverShowsTheValueCard() {
        LoadProgram();
        for (int i = 0; i < 3; ++i) w->StepSimulator();  // the third stores RF (69) at 80
        const auto cardAt = [&](int col, int row) {
            const QPoint pos = w->MainMemory->CellRect(col, row).center();
            QHelpEvent hover(QEvent::ToolTip, pos, w->MainMemory->mapToGlobal(pos));
            QApplication::sendEvent(w->MainMemory, &hover);
            return QToolTip::text();
        };
        const QString card = cardAt(0, 8);
        for (const char* line : {"Memory [80]", "Hex 69  Unsigned 105  Signed 105", "Character 'i'",
                                 "Instruction 6900  addf  R9,R0,R0",
                                 "written by step 3 at 04: store RF,[80]", "value before hex 00"})
            QVERIFY2(card.contains(line), qPrintable(card));

        w->Registers->SetContents(3, 7);  // a user's edit forgets the history
        const QString forgotten = cardAt(0, 8);
        QVERIFY2(forgotten.contains("Hex 69"), qPrintable(forgotten));
        QVERIFY2(!forgotten.contains("written by"), qPrintable(forgotten));
    }
};

QTEST_MAIN(TMainWinHistoryTest)
#include "mainwinhistory_test.moc"
