// The main window as a screen reader sees it: its grids are tables of named cells whose
// text is the value shown, the output window is text, and the disassembly list has a name;
// what the reader is told (the events the program sends, read where they would go to a
// reader's bridge) for the keyboard alone; and the keys of the disassembly list.

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QToolTip>
#include <QtTest>

#include "app/assembler.h"
#include "controls/gridaccess.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "core/simulation.h"
#include "focusedrows.h"
#include "gui/listfocus.h"
#include "mainwinfixture.h"

namespace {

// The captions above the grids share their names, so the role tells them apart.
QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name,
                                 QAccessible::Role role) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child && child->text(QAccessible::Name) == name && child->role() == role) return child;
    }
    return nullptr;
}

QString TextOf(QAccessibleInterface* object) {
    QAccessibleTextInterface* text = object->textInterface();
    return text ? text->text(0, text->characterCount()) : QString("(no text interface)");
}

// What a screen reader would say for each event it is told, one line each: focus with the
// cell's row and column, a status or a label that changed, output inserted.
QStringList spoken;

void Speak(QAccessibleEvent* event) {
    QAccessibleInterface* object = event->accessibleInterface();
    if (!object) return;
    const QString name = object->text(QAccessible::Name);
    switch (event->type()) {
        case QAccessible::Focus: {
            QString line = "focus: " + name;
            if (QAccessibleTableCellInterface* cell = object->tableCellInterface()) {
                QAccessibleTableInterface* table = cell->table()->tableInterface();
                line += ", row " + table->rowDescription(cell->rowIndex());
                if (const QString column = table->columnDescription(cell->columnIndex());
                    !column.isEmpty())
                    line += ", column " + column;
            }
            spoken << line;
            break;
        }
        case QAccessible::ObjectShow:  // a notification, which a reader speaks as it shows
            if (object->role() == QAccessible::Notification) spoken << "said: " + name;
            break;
        case QAccessible::TextInserted:
            spoken << "output: " + static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
            break;
        default:
            break;
    }
}

}  // namespace

class TMainWinAccessTest : public QObject, TMainWinFixture {
    Q_OBJECT
private slots:
    void init() {
        StartFresh();
        QVERIFY(ShowWindow());
    }
    void cleanup() { CloseWindow(); }

    void TablesCellsAndTextAsAScreenReaderReadsThem() {
        w->MainMemory->SetContents(0xA7, 0x2F);
        w->Registers->SetContents(3, 0x41);
        w->SysRegs->SetContents(PcIndex, 0x12);
        w->SysRegs->SetContents(IrIndex, 0xC000);
        w->OutputBox->Write('H');
        w->OutputBox->Write('\n');
        w->OutputBox->Write('i');
        QAccessibleInterface* central = QAccessible::queryAccessibleInterface(w->centralWidget());
        QVERIFY(central);
        const struct {
            const char* table;
            int rows, columns, cell;
            const char *cellName, *cellText;
        } tables[] = {
            {"Main Memory", 16, 16, 0xA7, "A7: 2F", "2F"},
            {"Registers", 16, 1, 3, "R3: 41", "41"},
            {"System Registers", 2, 1, IrIndex, "IR: C000", "C000"},
            {"System Registers", 2, 1, PcIndex, "PC: 12", "12"},
        };
        for (const auto& t : tables) {
            QAccessibleInterface* table = ChildNamed(central, t.table, QAccessible::Table);
            QVERIFY2(table, t.table);
            QAccessibleTableInterface* cells = table->tableInterface();
            QVERIFY(cells);
            QCOMPARE(cells->rowCount(), t.rows);
            QCOMPARE(cells->columnCount(), t.columns);
            QAccessibleInterface* cell = cells->cellAt(t.cell / t.columns, t.cell % t.columns);
            QVERIFY(cell);
            QCOMPARE(cell->role(), QAccessible::Cell);
            QCOMPARE(cell->text(QAccessible::Name), QString(t.cellName));
            QCOMPARE(TextOf(cell), QString(t.cellText));
        }
        QAccessibleInterface* output =
            ChildNamed(central, "Output Window", QAccessible::StaticText);
        QVERIFY(output);
        QCOMPARE(TextOf(output), QString("H\ni"));
        QVERIFY(ChildNamed(central, "Disassembler window", QAccessible::List));
    }

    // Tab into memory, F9 to a halt: what a screen reader says.
    void TabIntoMemoryAndRunToAHalt() {
        const unsigned char program[] = {0x2F, 0x41, 0xC0, 0x00};  // RF:=41 (prints A), halt
        for (int a = 0; a < int(sizeof program); ++a) w->MainMemory->SetContents(a, program[a]);
        w->MainMemory->SetContents(0x80, 0x2F);
        w->ResetButton->setFocus();
        QApplication::processEvents();
        StartSpeaking();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w->MainMemory);
        QApplication::processEvents();  // a person's keys come one turn of the loop apart
        QTest::keyClick(w->MainMemory, Qt::Key_Down);
        QTest::keyClick(w->MainMemory, Qt::Key_F9);
        // The output as text a reader can follow, and said once the run has stopped.
        QTRY_VERIFY2(spoken.contains("said: A"), qPrintable(spoken.join(" / ")));
        QTest::qWait(50);  // nothing more follows
        StopSpeaking();
        SaveTranscript("tab-into-memory-and-f9.txt");
        QCOMPARE(spoken,
                 (QStringList{"focus: 00: 2F, row 00, column 0", "focus: 10: 00, row 10, column 0",
                              "said: Running...", "said: Halted", "output: A", "said: A"}));
    }

    // A run that writes on and on is said when it stops: the end of its output, once.
    void OutputOfARunIsSaidWhenItStops() {
        const unsigned char program[] = {0x2F, 0x41, 0xB0, 0x00};  // RF:=41, jump to 00
        for (int a = 0; a < int(sizeof program); ++a) w->MainMemory->SetContents(a, program[a]);
        w->MainMemory->setFocus();
        QApplication::processEvents();
        StartSpeaking();
        QTest::keyClick(w->MainMemory, Qt::Key_F9);
        QTest::qWait(600);
        const QStringList saidWhileRunning = spoken.filter("said: A");
        QTest::keyClick(w->MainMemory, Qt::Key_F5, Qt::ShiftModifier);  // Break
        QTRY_VERIFY(!spoken.filter("said: A").isEmpty());
        QTest::qWait(300);
        StopSpeaking();
        QCOMPARE(saidWhileRunning, QStringList{});
        const QStringList said = spoken.filter("said: A");
        QCOMPARE(said.size(), 1);
        QCOMPARE(said[0], "said: " + QString(200, u'A'));
    }

    // Every status a command leaves is said once, after the command: a step that stays
    // Ready is still heard, a full-speed run is heard only when it ends.
    void StatusChangesAreSaidOnce() {
        struct {
            int word;        // at 00
            int breakpoint;  // -1: none
            const char* key;
            QString said;
        } const cases[] = {
            {0x2101, -1, "F8", "said: Ready"},
            {0xC000, -1, "F8", "said: Halted"},
            {0x0000, -1, "F9", "said: Invalid instruction"},
            {0xB008, 0x08, "F9", "said: Breakpoint at 08"},
        };
        for (const auto& c : cases) {
            w->SysRegs->SetContents(PcIndex, 0);
            w->MainMemory->SetContents(0, c.word >> 8);
            w->MainMemory->SetContents(1, c.word & 0xFF);
            if (c.breakpoint >= 0) w->Simulation().ToggleBreakpoint(c.breakpoint);
            QApplication::processEvents();
            StartSpeaking();
            QTest::keySequence(w.get(), QKeySequence(c.key));
            QTRY_VERIFY2(!spoken.isEmpty(), c.key);
            QTest::qWait(50);
            StopSpeaking();
            if (c.breakpoint >= 0) w->Simulation().ToggleBreakpoint(c.breakpoint);
            const QStringList statuses = spoken.filter("said: ");
            QVERIFY2(statuses.size() <= 2, c.key);  // "Running", at most, before the end
            QCOMPARE(statuses.back(), c.said);
            QCOMPARE(statuses.count(c.said), 1);
        }
    }

    // While keys go to memory, no line of the disassembly list claims focus after a step
    // or a run; PC's line stays selected and has focus once the list has.
    void OnlyTheFocusedControlReportsFocus() {
        const unsigned char program[] = {0x21, 0x01, 0x21, 0x02, 0xC0, 0x00};  // 2 loads, halt
        for (int a = 0; a < int(sizeof program); ++a) w->MainMemory->SetContents(a, program[a]);
        const struct {
            Qt::Key key;
            int pcLine;
        } commands[] = {{Qt::Key_F8, 1}, {Qt::Key_F9, 3}};  // a halt leaves PC past it
        w->DisasmWin->setFocus();  // the list had focus once, so Qt made a row current
        w->MainMemory->setFocus();
        // Each new current row is told to a screen reader as focus, even for a moment.
        int currentWithoutFocus = 0;
        connect(w->DisasmWin->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [&](const QModelIndex& current) {
                    if (current.isValid() && !w->DisasmWin->hasFocus()) ++currentWithoutFocus;
                });
        for (const auto& command : commands) {
            QTest::keyClick(w->MainMemory, command.key);
            QTRY_COMPARE(SelectedRow(*w->DisasmWin), command.pcLine);
            QCOMPARE(QApplication::focusWidget(), w->MainMemory);
            QCOMPARE(FocusedRows(*w->DisasmWin), QList<int>{});
            QCOMPARE(currentWithoutFocus, 0);
        }
        w->DisasmWin->verticalScrollBar()->setValue(40);
        StartSpeaking();
        w->DisasmWin->setFocus(Qt::MouseFocusReason);
        QTRY_VERIFY(!spoken.isEmpty());  // the line, after the list's own focus
        StopSpeaking();
        QCOMPARE(spoken.size(), 1);
        QVERIFY2(spoken[0].startsWith("focus: " + w->DisasmWin->item(3)->text()),
                 qPrintable(spoken[0]));
        QCOMPARE(FocusedRows(*w->DisasmWin), QList<int>{3});
        QCOMPARE(w->DisasmWin->verticalScrollBar()->value(), 40);  // a click lands where aimed
        QTest::keyClick(w->DisasmWin, Qt::Key_Up);
        QCOMPARE(FocusedRows(*w->DisasmWin), QList<int>{2});
        QCOMPARE(SelectedRow(*w->DisasmWin), 2);
        w->ToggleBreakpointClick();  // on the line the keys chose
        QVERIFY(w->Simulation().Breakpoints().Has(4));
    }

    // The keyboard's double click and right click on the disassembly list.
    void DisassemblyKeys() {
        w->MainMemory->SetContents(0x06, 0x21);
        w->MainMemory->SetContents(0x07, 0x41);
        w->DisasmWin->setFocus();
        w->DisasmWin->setCurrentRow(3);
        QTest::keyClick(w->DisasmWin, Qt::Key_Return);
        QCOMPARE(w->SysRegs->GetContents(PcIndex), 0x06);

        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            seen << dialog->accessibleName();
            for (const char* box : {"opcode", "op1", "op2", "op3"})
                seen << dialog->findChild<QComboBox*>(box)->accessibleName();
            dialog->reject();
        });
        QTest::keyClick(w->DisasmWin, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(seen, (QStringList{"Asseble Instruction at 06", "operation", "register R", "value",
                                    "not used"}));
    }

    // The in-place editor is called what its cell is; the value card is the cell's
    // description and comes up on Ctrl+I.
    void CellEditorAndValueCard() {
        w->MainMemory->setFocus();
        w->MainMemory->SetCol(3);
        w->MainMemory->ShowEditor();
        QCOMPARE(w->MainMemory->InplaceEditor()->accessibleName(), QString("03"));
        w->MainMemory->HideEditor();
        w->Registers->SetContents(2, 0x41);
        QAccessibleInterface* registers = QAccessible::queryAccessibleInterface(w->Registers);
        const QString card = registers->child(2)->text(QAccessible::Description);
        QVERIFY2(card.contains("41"), qPrintable(card));
        w->Registers->setFocus();
        w->Registers->SetRow(2);
        QTest::keyClick(w->Registers, Qt::Key_I, Qt::ControlModifier);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text().contains("41"), true);
    }

private:
    static void StartSpeaking() {
        spoken.clear();
        SetCellAnnouncer(Speak);
    }
    static void StopSpeaking() { SetCellAnnouncer({}); }
    static void SaveTranscript(const QString& name) {
        QFile file("/tmp/shots-a11y/" + name);
        if (file.open(QIODevice::WriteOnly)) file.write((spoken.join('\n') + '\n').toUtf8());
    }
};

QTEST_MAIN(TMainWinAccessTest)
#include "mainwinaccess_test.moc"
