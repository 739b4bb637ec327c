// A seeded random user: a long sequence of keys, clicks, drags, buttons, menu entries,
// files (good and bad), dialogs answered at random and assembler editors, on the real
// main window. After every action the machine must still hold bytes and the run state
// must agree with the buttons. MONKEY_SEEDS and MONKEY_ACTIONS widen the hunt.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <random>

#include "app/asmeditors.h"
#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "editor/asmedit.h"
#include "gui/processvalues.h"
#include "gui/shellopen.h"
#include "testprompt.h"

namespace {

const char* const SourceWords[] = {
    "load ", "store ", "move ",  "addi ", "addf ", "or ", "and ", "xor ", "ror ",
    "jmp ",  "jmpeq ", "jmple ", "halt",  "org ",  "db ", "R0",   "R1",   "RF",
    ",",     "[",      "]",      "0",     "1",     "FFh", "100h", "-129", "lab:",
    "lab",   "\"x\"",  ";c",     "\n",    "\n",    " ",   "\t",   "@",    "'",
};

const Qt::Key SpecialKeys[] = {
    Qt::Key_Return, Qt::Key_Enter,  Qt::Key_Escape, Qt::Key_Left,    Qt::Key_Right,
    Qt::Key_Up,     Qt::Key_Down,   Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Backspace,
    Qt::Key_Delete, Qt::Key_Home,   Qt::Key_End,    Qt::Key_PageUp,  Qt::Key_PageDown,
    Qt::Key_F2,     Qt::Key_Insert, Qt::Key_Space,
};

}  // namespace

class TMonkeyTest : public QObject {
    Q_OBJECT

    std::mt19937 rng;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<TTestPrompt> prompt;
    std::unique_ptr<TMainWin> w;
    QTimer dismisser;  // answers whatever modal dialog or pop-up is up
    QString trail;     // the last actions, shown when an invariant fails

    int Pick(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    void Dismiss() {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || Chance(70)) return;  // a dialog may stay up while the machine runs
        FillIn(modal);
        auto* dialog = qobject_cast<QDialog*>(modal);
        if (dialog && Chance(50))
            dialog->accept();
        else if (dialog)
            dialog->reject();
        else
            modal->close();
    }

    // Types into one of the dialog's fields or picks an entry of one of its lists.
    void FillIn(QWidget* dialog) {
        const QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
        const QList<QComboBox*> lists = dialog->findChildren<QComboBox*>();
        if (!edits.isEmpty() && Chance(50)) {
            static const char* const texts[] = {"", "0", "FF", "100", "-1", "zz", "7F", " 1"};
            edits[Pick(edits.size())]->setText(texts[Pick(std::size(texts))]);
        } else if (!lists.isEmpty()) {
            QComboBox* list = lists[Pick(lists.size())];
            if (list->count() == 0) return;
            const int index = Pick(list->count());
            list->setCurrentIndex(index);
            emit list->activated(index);
        }
    }

    void WriteFile(const QString& name, const QByteArray& bytes) {
        QFile file(dir->filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray RandomBytes(int size) {
        QByteArray bytes;
        for (int i = 0; i < size; ++i) bytes.append(static_cast<char>(Pick(256)));
        return bytes;
    }

    // A file name for an open or save dialog: good, bad, missing, a folder, or cancelled.
    QString FileName() {
        static const char* const names[] = {"good.mem", "bad.mem",     "empty.mem",   "big.mem",
                                            "prog.asm", "missing.mem", "nodir/x.mem", "."};
        const int n = Pick(9);
        return n == 8 ? QString() : dir->filePath(names[n]);
    }

    THexGrid* AnyGrid() {
        THexGrid* grids[] = {w->MainMemory, w->Registers, w->SysRegs};
        return grids[Pick(3)];
    }

    QPoint AnyCell(THexGrid* grid) {
        return grid->CellRect(Pick(grid->ColCount()), Pick(grid->RowCount())).center();
    }

    void TypeInto(QWidget* target, int keys) {
        static const char typed[] = "0123456789ABCDEFabcdefgZ-+ x";
        for (int i = 0; i < keys; ++i) {
            if (Chance(20))
                QTest::keyClick(target, SpecialKeys[Pick(std::size(SpecialKeys))],
                                Chance(30) ? Qt::ShiftModifier : Qt::NoModifier);
            else
                QTest::keyClick(target, typed[Pick(sizeof typed - 1)]);
        }
    }

    void Trigger(QAction* action) {
        prompt->FileNames = {FileName()};
        if (Chance(30)) prompt->Filters = {"Assembly Files (*.asm)"};
        action->trigger();
    }

    void EditorAction() {
        TAssemblerEditor* editor = AssemblerEditor();
        if (!editor || Chance(20)) {
            w->AssemblerButton->click();
            editor = AssemblerEditor();
        }
        if (!editor) return;
        switch (Pick(4)) {
            case 0:
                for (int i = Pick(12); i >= 0; --i) {
                    const QString word = SourceWords[Pick(std::size(SourceWords))];
                    if (word == "\n")
                        QTest::keyClick(editor->TextEditor, Qt::Key_Return);
                    else if (word == "\t")
                        QTest::keyClick(editor->TextEditor, Qt::Key_Tab);
                    else
                        QTest::keyClicks(editor->TextEditor, word);
                }
                break;
            case 1:
                editor->MenuAssemble->trigger();
                break;
            case 2:
                editor->TextEditor->setPlainText(QString::fromLatin1(RandomBytes(Pick(60))));
                break;
            default:
                QAction* entries[] = {editor->MenuUndo,          editor->MenuCut,
                                      editor->MenuCopy,          editor->MenuPaste,
                                      editor->MenuSelectAll,     editor->MenuNextError,
                                      editor->MenuPreviousError, editor->MenuUseSyntaxHighlight,
                                      editor->MenuSaveAsFile,    editor->MenuOpenFile,
                                      editor->MenuSaveFile,      editor->MenuExitFile};
                Trigger(entries[Pick(std::size(entries))]);
        }
    }

    void DisasmAction() {
        QListWidget* list = w->DisasmWin;
        QListWidgetItem* item = list->item(Pick(list->count()));
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        if (Chance(50))
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        else
            QTest::mousePress(list->viewport(), Qt::RightButton, {}, at);
    }

    // One random action; returns its name for the trail.
    QString Act() {
        prompt->Answers.clear();
        for (int i = 0; i < 3; ++i) prompt->Answers.push_back(static_cast<TAnswer>(Pick(3)));
        THexGrid* grid = AnyGrid();
        switch (Pick(17)) {
            case 0:
            case 1:
                grid->setFocus();
                TypeInto(grid->InplaceEditor() && grid->InplaceEditor()->isVisible()
                             ? static_cast<QWidget*>(grid->InplaceEditor())
                             : grid,
                         1 + Pick(6));
                return "type into " + grid->objectName();
            case 2:
                QTest::mouseClick(grid, Qt::LeftButton, {}, AnyCell(grid));
                return "click";
            case 3: {
                QTest::mousePress(grid, Qt::LeftButton, {}, AnyCell(grid));
                QTest::mouseMove(grid, AnyCell(grid));
                QTest::mouseRelease(grid, Qt::LeftButton, {}, AnyCell(grid));
                return "drag on " + grid->objectName();
            }
            case 4:
                QTest::mouseDClick(grid, Qt::LeftButton, {}, AnyCell(grid));
                return "dclick";
            case 5: {
                QPushButton* buttons[] = {w->RunButton,   w->StepButton, w->BreakButton,
                                          w->ResetButton, w->ZeroPC,     w->ViewAsmButton};
                QPushButton* button = buttons[Pick(std::size(buttons))];
                button->click();
                return "button " + button->objectName();
            }
            case 6:
            case 7: {
                QAction* entries[] = {
                    w->MenuOpenFile,   w->MenuSaveFile,    w->MenuSaveAsFile,
                    w->MenuCut,        w->MenuCopy,        w->MenuPaste,
                    w->MenuSelectAll,  w->MenuRun,         w->MenuStep,
                    w->MenuReset,      w->MenuClearMemory, w->MenuClearRegisters,
                    w->MenuOptions,    w->MenuAbout,       w->MenuHelpInstructions,
                    w->MenuHelpSyntax, w->MenuWWWHelp};
                QAction* entry = entries[Pick(std::size(entries))];
                Trigger(entry);
                return "menu " + entry->objectName();
            }
            case 8:
                DisasmAction();
                return "disasm click";
            case 9:
            case 10:
                EditorAction();
                return "editor";
            case 11:
                QTest::mouseClick(grid, Qt::RightButton, {}, AnyCell(grid));
                return "right click";
            case 15: {
                const Qt::Key keys[] = {Qt::Key_R, Qt::Key_S, Qt::Key_B, Qt::Key_C, Qt::Key_Z};
                QTest::keyClick(w.get(), keys[Pick(std::size(keys))], Qt::AltModifier);
                return "Alt key";
            }
            case 12:
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                            : static_cast<QWidget*>(w.get()),
                                Qt::Key_F1);
                return "F1";
            case 13:
                grid->SetContents(Pick(grid->Count()), Pick(256));
                return "program write";
            default:
                QTest::qWait(Pick(20));
                return "wait";
        }
    }

    void CheckInvariants() {
        for (THexGrid* grid : {w->MainMemory, w->Registers, w->SysRegs}) {
            const bool editing = grid->InplaceEditor() && grid->InplaceEditor()->isVisible();
            const int edited = grid->EditCol() + grid->EditRow() * grid->ColCount();
            for (int i = 0; i < grid->Count(); ++i) {
                const int value = grid->GetContents(i);
                const int low = editing && i == edited ? -1 : 0;
                const int high = grid == w->SysRegs && i == 1 ? 0xFFFF : 255;  // IR is a word
                QVERIFY2(value >= low && value <= high, qPrintable(QString("%1[%2]=%3 after %4")
                                                                       .arg(grid->objectName())
                                                                       .arg(i)
                                                                       .arg(value)
                                                                       .arg(trail)));
            }
        }
        QCOMPARE(w->MainMemory->Count(), 256);
        QCOMPARE(w->Registers->Count(), 16);
        QCOMPARE(w->SysRegs->Count(), 2);
        QCOMPARE(w->DisasmWin->count(), 128);
        QVERIFY2(w->BreakButton->isEnabled() == w->Running(), qPrintable(trail));
        QVERIFY2(w->RunButton->isEnabled() == !w->Running(), qPrintable(trail));
        QVERIFY2(w->isVisible(), qPrintable(trail));
    }

private slots:
    void RandomUserNeverBreaksTheMachine_data() {
        QTest::addColumn<unsigned>("seed");
        QTest::addColumn<int>("actions");
        const int actions = qEnvironmentVariableIntValue("MONKEY_ACTIONS");
        const QStringList seeds =
            qEnvironmentVariable("MONKEY_SEEDS").split(',', Qt::SkipEmptyParts);
        for (const QString& seed : seeds.isEmpty() ? QStringList{"1", "2", "3"} : seeds)
            QTest::newRow(qPrintable(seed)) << seed.toUInt() << (actions > 0 ? actions : 150);
    }

    void RandomUserNeverBreaksTheMachine() {
        QFETCH(unsigned, seed);
        QFETCH(int, actions);
        rng.seed(seed);
        dir = std::make_unique<QTemporaryDir>();
        prompt = std::make_unique<TTestPrompt>();
        ProcessValues() = TProcessValues{};
        ProcessValues().TempDir = dir->path() + "/";
        SetShellOpen([](const QUrl&) { return true; });
        WriteFile("bad.mem", RandomBytes(300));
        WriteFile("empty.mem", {});
        WriteFile("big.mem", RandomBytes(70000));
        WriteFile("prog.asm", "org 10h\nload R1,5\nstore R1,[80h]\nhalt\n");
        w = std::make_unique<TMainWin>();
        InstallAssemblerEditors(*w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        connect(&dismisser, &QTimer::timeout, this, &TMonkeyTest::Dismiss);
        dismisser.start(1);
        for (int i = 0; i < actions; ++i) {
            try {
                const QString done = Act();
                trail = QString("%1 #%2 (seed %3)").arg(done).arg(i).arg(seed);
            } catch (const std::exception& e) {
                QFAIL(qPrintable(QString("exception %1 at #%2").arg(e.what()).arg(i)));
            }
            QCoreApplication::processEvents();
            CheckInvariants();
            if (QTest::currentTestFailed()) break;
        }
        if (w->Running()) w->BreakButton->click();
        QVERIFY(!w->Running());
    }

    void cleanup() {
        dismisser.stop();
        disconnect(&dismisser, nullptr, this, nullptr);
        // Close everything without questions: the editors' texts and memory are dropped.
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* editor = qobject_cast<TAssemblerEditor*>(window))
                editor->SetFileModified(false);
        if (w) {
            w->SetMemModified(false);
            w->close();
        }
        w.reset();
        prompt.reset();
        SetShellOpen({});
        // Help viewers outlive the main window, hidden, until the program ends.
        QList<QPointer<QWidget>> windows;
        for (QWidget* window : QApplication::topLevelWidgets()) windows << window;
        for (const QPointer<QWidget>& window : windows)
            if (window && !window->parent()) delete window;
    }
};

QTEST_MAIN(TMonkeyTest)
#include "monkey_test.moc"
