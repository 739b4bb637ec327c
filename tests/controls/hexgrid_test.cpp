// The hex grid driven as the main window uses it: contents and their notifications,
// the linear selection and its events, the mouse, the keys and the in-place editor.

#include <QLineEdit>
#include <QTest>
#include <memory>
#include <vector>

#include "controls/hexgrid.h"
#include "core/execute.h"

namespace {

struct TCellChange {
    int Index, Old, Value;
    bool operator==(const TCellChange&) const = default;
};

// A shown, active window holding one grid, so focus and mouse behave as on a desktop.
struct TGridWindow {
    QWidget Window;
    THexGrid* Grid;
    QLineEdit Elsewhere;  // somewhere else to put the focus
    std::vector<TCellChange> Changes;
    std::vector<std::pair<int, int>> SelChanges;
    std::vector<std::pair<int, int>> SelectAsks;

    TGridWindow(int cols, int rows) : Grid(new THexGrid(&Window)), Elsewhere(&Window) {
        Grid->setObjectName("Grid");
        Grid->SetColCount(cols);
        Grid->SetRowCount(rows);
        Grid->move(0, 0);
        Grid->resize(Grid->sizeHint());
        Elsewhere.move(0, Grid->height() + 4);
        Grid->OnCellChanged = [this](CellStore*, int i, int o, int v) {
            Changes.push_back({i, o, v});
        };
        Grid->OnSelChanged = [this](THexGrid*, int s, int e) { SelChanges.push_back({s, e}); };
    }

    // MainMemory's binding: every cell may become current, asks are recorded.
    void RecordSelectAsks() {
        Grid->OnSelectCell = [this](THexGrid*, int c, int r, bool&) {
            SelectAsks.push_back({c, r});
        };
    }

    // SysRegs as the main window sets it up: IR is never current, four digits wide,
    // and the grid never keeps a selection.
    void BindAsSysRegs() {
        Grid->SetDefaultColWidth(32);
        Grid->OnSelectCell = [](THexGrid*, int, int row, bool& canSelect) {
            if (row == 1) canSelect = false;
        };
        Grid->OnGetEditLimit = [](THexGrid*, int, int row, int& value) {
            if (row == 1) value = 4;
        };
        Grid->OnSelChanged = [](THexGrid* sender, int, int) {
            sender->SetSelStart(-1);
            sender->SetSelEnd(-1);
        };
        Grid->resize(Grid->sizeHint());
    }

    bool Show() {
        Window.resize(Grid->width() + 20, Grid->height() + 40);
        Window.show();
        return QTest::qWaitForWindowActive(&Window);
    }

    QPoint Center(int index) const {
        return Grid->CellRect(index % Grid->ColCount(), index / Grid->ColCount()).center();
    }
    void Press(int index) { QTest::mousePress(Grid, Qt::LeftButton, {}, Center(index)); }
    void Release(int index) { QTest::mouseRelease(Grid, Qt::LeftButton, {}, Center(index)); }
    void Click(int index) { QTest::mouseClick(Grid, Qt::LeftButton, {}, Center(index)); }
    void DoubleClick(int index) {
        Click(index);
        QTest::mouseDClick(Grid, Qt::LeftButton, {}, Center(index));
    }
    // Keys go wherever the focus is: the grid or its open editor.
    void Type(const char* keys) { QTest::keyClicks(QApplication::focusWidget(), keys); }
    void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    QString EditorText() const { return Grid->InplaceEditor()->text(); }
    bool EditorOpen() const {
        return Grid->EditCol() >= 0 && Grid->InplaceEditor() && Grid->InplaceEditor()->isVisible();
    }
};

}  // namespace

class THexGridTest : public QObject {
    Q_OBJECT

private slots:
    void outOfBounds_data();
    void outOfBounds();
    void writesMarkAndNotify();
    void resizingKeepsContents();
    void clearingSelection();
    void pressSelects_data();
    void pressSelects();
    void pressAsksSelectCell();
    void refusedCellIsStillSelected();
    void dragHasDeadZoneAroundPress();
    void otherButtonsKeepSelection();
    void typedDigitReplacesCell();
    void heldModifierTypesNothing_data();
    void heldModifierTypesNothing();
    void enterStreamWraps_data();
    void enterStreamWraps();
    void editorKeys_data();
    void editorKeys();
    void liveEditorValue();
    void focusLossCommits_data();
    void focusLossCommits();
    void alwaysShownEditorStaysAfterResize();
    void sysRegsRefuseIr();
    void arrowKeysMoveCurrentOnly();
    void machineRunsOnGrids();
};

void THexGridTest::outOfBounds_data() {
    QTest::addColumn<bool>("set");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("get 256") << false << 256
                             << "THexGrid::GetContents: Address (256) out of bounds (0..255)";
    QTest::newRow("set 256") << true << 256
                             << "THexGrid::SetContents: Address (256) out of bounds (0..255)";
    QTest::newRow("get -1") << false << -1
                            << "THexGrid::GetContents: Address (-1) out of bounds (0..255)";
    QTest::newRow("set -1") << true << -1
                            << "THexGrid::SetContents: Address (-1) out of bounds (0..255)";
}

void THexGridTest::outOfBounds() {
    QFETCH(bool, set);
    QFETCH(int, index);
    QFETCH(QString, message);
    TGridWindow w(16, 16);
    QString caught;
    try {
        if (set)
            w.Grid->SetContents(index, 1);
        else
            w.Grid->GetContents(index);
    } catch (const EInvalidGridOperation& e) {
        caught = e.what();
    }
    QCOMPARE(caught, message);
    QVERIFY(w.Changes.empty());
    QVERIFY(!w.Grid->Modified());
}

void THexGridTest::writesMarkAndNotify() {
    TGridWindow w(16, 16);
    w.Grid->SetContents(0x10, 0x3C);
    QCOMPARE(w.Grid->GetContents(0x10), 0x3C);
    QVERIFY(w.Grid->Modified());
    QCOMPARE(w.Grid->ChangedCell(), 0x10);

    // The same value again: still notified, the marks stay as they were.
    w.Grid->SetModified(false);
    QCOMPARE(w.Grid->ChangedCell(), -1);
    w.Grid->SetContents(0x10, 0x3C);
    QVERIFY(!w.Grid->Modified());
    QCOMPARE(w.Grid->ChangedCell(), -1);

    // Only one cell carries the changed mark.
    w.Grid->SetContents(0x11, 1);
    w.Grid->SetContents(0x12, 2);
    QCOMPARE(w.Grid->ChangedCell(), 0x12);

    const std::vector<TCellChange> expected = {
        {0x10, 0, 0x3C}, {0x10, 0x3C, 0x3C}, {0x11, 0, 1}, {0x12, 0, 2}};
    QVERIFY(w.Changes == expected);
    QCOMPARE(w.Grid->GetCells(2, 1), 2);  // column + row * ColCount
}

void THexGridTest::resizingKeepsContents() {
    TGridWindow w(2, 2);
    for (int i = 0; i < 4; ++i) w.Grid->SetContents(i, 10 + i);
    w.Grid->SetColCount(1);  // 2 cells remain, by linear index
    w.Grid->SetColCount(3);  // 6 cells: the lost ones come back as 0
    QCOMPARE(w.Grid->Count(), 6);
    const std::vector<int> expected = {10, 11, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i) QCOMPARE(w.Grid->GetContents(i), expected[i]);
}

void THexGridTest::clearingSelection() {
    TGridWindow w(16, 16);
    w.Grid->SetSelStart(-1);
    QVERIFY(w.SelChanges.empty());

    w.Grid->SetSelStart(20);
    w.Grid->SetSelEnd(12);
    QCOMPARE(w.Grid->GetSelLo(), 12);
    QCOMPARE(w.Grid->GetSelHi(), 20);
    w.SelChanges.clear();
    w.Grid->SetSelStart(-1);
    w.Grid->SetSelEnd(-1);
    QCOMPARE(w.SelChanges.size(), size_t(1));
    QCOMPARE(w.SelChanges[0], std::make_pair(-1, -1));
    QCOMPARE(w.Grid->GetSelLo(), -1);
    QCOMPARE(w.Grid->GetSelHi(), -1);
}

void THexGridTest::pressSelects_data() {
    QTest::addColumn<int>("selStart");  // -1: no selection before the press
    QTest::addColumn<int>("selEnd");
    QTest::addColumn<int>("events");
    QTest::newRow("no selection") << -1 << -1 << 1;
    QTest::newRow("both bounds move") << 2 << 7 << 2;
    QTest::newRow("start already there") << 5 << 9 << 1;
    QTest::newRow("the one cell itself") << 5 << 5 << 0;
}

void THexGridTest::pressSelects() {
    QFETCH(int, selStart);
    QFETCH(int, selEnd);
    QFETCH(int, events);
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->SetSelStart(selStart);
    w.Grid->SetSelEnd(selEnd);
    w.SelChanges.clear();
    w.Click(5);
    QCOMPARE(int(w.SelChanges.size()), events);
    QCOMPARE(w.Grid->SelStart(), 5);
    QCOMPARE(w.Grid->SelEnd(), 5);
    if (events > 0) QCOMPARE(w.SelChanges.back(), std::make_pair(5, 5));
}

void THexGridTest::pressAsksSelectCell() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.RecordSelectAsks();
    w.Click(0x23);  // column 3, row 2: the press asks, then the column move, then the row
    const std::vector<std::pair<int, int>> expected = {{3, 2}, {3, 0}, {3, 2}};
    QVERIFY(w.SelectAsks == expected);
    QCOMPARE(w.Grid->Col(), 3);
    QCOMPARE(w.Grid->Row(), 2);
}

void THexGridTest::refusedCellIsStillSelected() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->OnSelectCell = [](THexGrid*, int, int, bool& canSelect) { canSelect = false; };
    w.Click(0x42);
    QCOMPARE(w.Grid->SelStart(), 0x42);
    QCOMPARE(w.Grid->SelEnd(), 0x42);
    QCOMPARE(w.Grid->Col(), 0);
    QCOMPARE(w.Grid->Row(), 0);
}

void THexGridTest::dragHasDeadZoneAroundPress() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    const QPoint press = w.Center(5);
    QTest::mousePress(w.Grid, Qt::LeftButton, {}, press);
    QTest::mouseMove(w.Grid, w.Center(9));
    QCOMPARE(w.Grid->SelEnd(), 9);
    QTest::mouseMove(w.Grid, press + QPoint(1, 1));  // back within a pixel: ignored
    QCOMPARE(w.Grid->SelEnd(), 9);
    QTest::mouseMove(w.Grid, press + QPoint(2, 0));  // outside the dead zone, same cell
    QCOMPARE(w.Grid->SelEnd(), 5);
    QTest::mouseMove(w.Grid, w.Center(0x22));  // on to the next rows: a linear range
    QTest::mouseRelease(w.Grid, Qt::LeftButton, {}, w.Center(0x22));
    QCOMPARE(w.Grid->GetSelLo(), 5);
    QCOMPARE(w.Grid->GetSelHi(), 0x22);
    QTest::mouseMove(w.Grid, w.Center(0x30));  // released: moves select nothing
    QCOMPARE(w.Grid->GetSelHi(), 0x22);
}

// A right press leaves selection and current cell for the context menu, and closes
// (commits) an open editor.
void THexGridTest::otherButtonsKeepSelection() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Press(0x21);
    QTest::mouseMove(w.Grid, w.Center(0x24));
    w.Release(0x24);
    QTest::mouseClick(w.Grid, Qt::RightButton, {}, w.Center(0x50));
    QCOMPARE(w.Grid->GetSelLo(), 0x21);
    QCOMPARE(w.Grid->GetSelHi(), 0x24);
    QCOMPARE(w.Grid->Row() * 16 + w.Grid->Col(), 0x21);

    w.Type("E");
    QVERIFY(w.EditorOpen());
    QTest::mouseClick(w.Grid, Qt::RightButton, {}, w.Center(0x50));
    QVERIFY(!w.EditorOpen());
    QCOMPARE(w.Grid->GetContents(0x21), 0xE);
}

void THexGridTest::typedDigitReplacesCell() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->SetContents(0, 0x3C);
    w.Grid->SetSelStart(3);
    w.Grid->SetFocus();
    w.Type("7");
    QVERIFY(w.EditorOpen());
    QCOMPARE(w.EditorText(), QString("7"));
    QCOMPARE(w.Grid->SelStart(), -1);  // opening the editor clears the selection
    w.Key(Qt::Key_Return);
    QCOMPARE(w.Grid->GetContents(0), 0x07);
    QCOMPARE(w.Grid->EditCol(), 1);
    QCOMPARE(w.Grid->EditRow(), 0);
    QCOMPARE(w.EditorText(), QString("00"));
}

// Only plain (or shifted, or keypad) characters count as typed; with Ctrl or Alt held the
// key is a command, on the grid as well as in its editor.
void THexGridTest::heldModifierTypesNothing_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("typed");  // what reaches the cell; empty: nothing
    QTest::newRow("digit") << int(Qt::Key_7) << int(Qt::NoModifier) << "7";
    QTest::newRow("shifted letter") << int(Qt::Key_B) << int(Qt::ShiftModifier) << "B";
    QTest::newRow("keypad digit") << int(Qt::Key_5) << int(Qt::KeypadModifier) << "5";
    QTest::newRow("Alt+letter") << int(Qt::Key_B) << int(Qt::AltModifier) << "";
    QTest::newRow("Ctrl+digit") << int(Qt::Key_1) << int(Qt::ControlModifier) << "";
    QTest::newRow("Alt+digit") << int(Qt::Key_2) << int(Qt::AltModifier) << "";
}

void THexGridTest::heldModifierTypesNothing() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, typed);
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->SetContents(0, 0x3C);
    w.Grid->SetFocus();
    const auto press = [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key),
                        Qt::KeyboardModifiers(modifiers));
    };
    press();
    QCOMPARE(w.EditorOpen(), !typed.isEmpty());
    if (!typed.isEmpty()) QCOMPARE(w.EditorText(), typed);

    // In the open editor, after its text has been cleared.
    if (!w.EditorOpen()) w.Key(Qt::Key_Return);
    w.Grid->InplaceEditor()->clear();
    press();
    QCOMPARE(w.EditorText(), typed);

    // The editor's own shortcuts still work: Ctrl+A selects the text a digit replaces.
    QTest::keyClick(w.Grid->InplaceEditor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w.Grid->InplaceEditor(), Qt::Key_9);
    QCOMPARE(w.EditorText(), QString("9"));
}

void THexGridTest::enterStreamWraps_data() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("start");
    QTest::newRow("memory FE, FF, 00") << 16 << 16 << 0xFE;
    QTest::newRow("registers RE, RF, R0") << 1 << 16 << 14;
    QTest::newRow("row end 0E, 0F, 10") << 16 << 16 << 0x0E;
}

void THexGridTest::enterStreamWraps() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(int, start);
    TGridWindow w(cols, rows);
    QVERIFY(w.Show());
    const int count = cols * rows;
    w.DoubleClick(start);
    QVERIFY(w.EditorOpen());
    for (const char* value : {"12", "34", "56"}) {
        w.Type(value);
        w.Key(Qt::Key_Return);
    }
    QCOMPARE(w.Grid->GetContents(start), 0x12);
    QCOMPARE(w.Grid->GetContents((start + 1) % count), 0x34);
    QCOMPARE(w.Grid->GetContents((start + 2) % count), 0x56);
    const int next = (start + 3) % count;
    QCOMPARE(w.Grid->EditRow() * cols + w.Grid->EditCol(), next);
}

void THexGridTest::editorKeys_data() {
    QTest::addColumn<QString>("typed");  // \b is Backspace, from the end of the text
    QTest::addColumn<bool>("escape");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("lower case shown upper") << "ab" << false << "AB" << 0xAB;
    QTest::newRow("other characters ignored") << "x-1 z" << false << "1" << 0x01;
    QTest::newRow("length limit") << "123" << false << "12" << 0x12;
    QTest::newRow("all deleted stores 0") << "\b\b" << false << "" << 0;
    QTest::newRow("escape discards") << "\b\b42" << true << "42" << 0x3C;
}

void THexGridTest::editorKeys() {
    QFETCH(QString, typed);
    QFETCH(bool, escape);
    QFETCH(QString, shown);
    QFETCH(int, stored);
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->SetContents(0, 0x3C);
    w.Grid->SetFocus();
    w.Key(Qt::Key_Return);  // opens with the whole text selected
    QCOMPARE(w.EditorText(), QString("3C"));
    if (typed.startsWith(u'\b')) w.Grid->InplaceEditor()->end(false);
    for (const QChar c : typed) {
        if (c == u'\b')
            w.Key(Qt::Key_Backspace);
        else
            QTest::keyClick(w.Grid->InplaceEditor(), c.toLatin1());
    }
    QCOMPARE(w.EditorText(), shown);
    w.Key(escape ? Qt::Key_Escape : Qt::Key_Return);
    QCOMPARE(w.Grid->GetContents(0), stored);
    if (escape) {
        QVERIFY(!w.EditorOpen());
        QCOMPARE(QApplication::focusWidget(), w.Grid);
    }
}

void THexGridTest::liveEditorValue() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.Grid->SetContents(0, 0x11);
    w.Grid->SetFocus();
    w.Type("A");
    QCOMPARE(w.Grid->GetContents(0), 0xA);  // the typed, uncommitted value
    w.Grid->InplaceEditor()->setText("Z");  // as a paste could leave it: not a value
    QCOMPARE(w.Grid->GetContents(0), 0x11);
    w.Grid->InplaceEditor()->setText("B");
    w.Grid->InplaceEditor()->setModified(true);

    // A write to the edited cell replaces the typed text.
    w.Changes.clear();
    w.Grid->SetContents(0, 0x5E);
    QCOMPARE(w.EditorText(), QString("5E"));
    QVERIFY(!w.Grid->InplaceEditor()->isModified());
    w.Key(Qt::Key_Return);
    QCOMPARE(w.Grid->GetContents(0), 0x5E);
    QCOMPARE(w.Changes.size(), size_t(1));  // nothing was left to commit
}

void THexGridTest::focusLossCommits_data() {
    QTest::addColumn<bool>("alwaysShow");
    QTest::newRow("editor closes") << false;
    QTest::newRow("hgoAlwaysShowEditor keeps it") << true;
}

void THexGridTest::focusLossCommits() {
    QFETCH(bool, alwaysShow);
    TGridWindow w(16, 16);
    if (alwaysShow) w.Grid->SetOptions(w.Grid->Options() | hgoAlwaysShowEditor);
    QVERIFY(w.Show());
    int exits = 0;
    w.Grid->OnExit = [&exits](THexGrid*) { ++exits; };
    w.Grid->SetFocus();
    if (alwaysShow) {
        QVERIFY(w.EditorOpen());  // opened when the option was set
        w.Grid->InplaceEditor()->selectAll();
    }
    w.Type("9");
    QVERIFY(w.EditorOpen());
    w.Elsewhere.setFocus();
    QCOMPARE(exits, 1);
    QCOMPARE(w.EditorOpen(), alwaysShow);
    QCOMPARE(w.Grid->GetContents(0), 9);  // committed, or still the live text
}

// The option may be set before the grid gets its size; the editor is open afterwards,
// on the current cell, which the smaller grid may have moved.
void THexGridTest::alwaysShownEditorStaysAfterResize() {
    THexGrid grid;
    grid.SetOptions(grid.Options() | hgoAlwaysShowEditor);
    grid.SetContents(5, 0x2A);
    grid.SetCol(4);
    grid.SetRow(3);
    grid.SetColCount(3);  // 3 x 5: the current cell moves to column 2
    QVERIFY(grid.InplaceEditor() && !grid.InplaceEditor()->isHidden());
    QCOMPARE(grid.EditCol(), 2);
    QCOMPARE(grid.EditRow(), 3);
    grid.SetRowCount(2);
    QVERIFY(!grid.InplaceEditor()->isHidden());
    QCOMPARE(grid.EditRow(), 1);
    QCOMPARE(grid.InplaceEditor()->text(), QString("2A"));  // cell 5: column 2, row 1
}

void THexGridTest::sysRegsRefuseIr() {
    TGridWindow w(1, 2);
    w.BindAsSysRegs();
    QVERIFY(w.Show());
    w.Grid->SetContents(1, 0xC000);
    QCOMPARE(w.Grid->GetEditLimit(0, 1), 4);
    QCOMPARE(w.Grid->GetEditLimit(0, 0), 2);

    // Double-clicking IR: the first press leaves the current cell on PC.
    w.DoubleClick(1);
    QVERIFY(w.EditorOpen());
    QCOMPARE(w.Grid->EditRow(), 0);
    QCOMPARE(w.Grid->SelStart(), -1);

    // Enter on PC: IR is refused, so the editor reopens on PC.
    w.Type("20");
    w.Key(Qt::Key_Return);
    QCOMPARE(w.Grid->GetContents(0), 0x20);
    QCOMPARE(w.Grid->EditRow(), 0);
    QCOMPARE(w.EditorText(), QString("20"));
    QCOMPARE(w.Grid->GetContents(1), 0xC000);
}

void THexGridTest::arrowKeysMoveCurrentOnly() {
    TGridWindow w(16, 16);
    QVERIFY(w.Show());
    w.RecordSelectAsks();
    w.Grid->SetSelStart(4);
    w.Grid->SetFocus();
    w.Key(Qt::Key_Right);
    w.Key(Qt::Key_Down);
    w.Key(Qt::Key_Up);
    w.Key(Qt::Key_Up);  // clamped: no move, no ask
    w.Key(Qt::Key_End);
    const std::vector<std::pair<int, int>> expected = {{1, 0}, {1, 1}, {1, 0}, {15, 0}};
    QVERIFY(w.SelectAsks == expected);
    QCOMPARE(w.Grid->Col(), 15);
    QCOMPARE(w.Grid->SelStart(), 4);
    QVERIFY(!w.EditorOpen());
}

// The core runs unchanged on three grids: "Hi" through RF, then halt.
void THexGridTest::machineRunsOnGrids() {
    THexGrid memory, registers, sysRegs;
    memory.SetColCount(16);
    memory.SetRowCount(16);
    registers.SetColCount(1);
    registers.SetRowCount(16);
    sysRegs.SetColCount(1);
    sysRegs.SetRowCount(2);
    const int program[] = {0x2F, 'H', 0x2F, 'i', 0xC0, 0x00};
    for (int i = 0; i < 6; ++i) memory.SetContents(i, program[i]);
    std::string output;
    registers.OnCellChanged = [&output](CellStore*, int index, int, int value) {
        if (index == OutputRegister) output += static_cast<char>(value);
    };
    const TMachineStores machine{memory, registers, sysRegs};
    QCOMPARE(RunSteps(machine, 100), TStepResult::Halted);
    QCOMPARE(output, std::string("Hi"));
    QCOMPARE(sysRegs.GetContents(PcIndex), 6);
    QCOMPARE(sysRegs.GetContents(IrIndex), 0xC000);
    QCOMPARE(registers.ChangedCell(), OutputRegister);
}

QTEST_MAIN(THexGridTest)
#include "hexgrid_test.moc"
