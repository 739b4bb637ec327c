// What a screen reader is given by the hex grid and the output terminal: tables of named
// cells whose text is the value as shown, the focus on the current cell, and value changes
// announced for that cell only and never while the grid is quiet.

#include <QAccessible>
#include <QTest>
#include <vector>

#include "controls/gridaccess.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"

namespace {

std::vector<QAccessible::Event> events;     // what was announced, in order
std::vector<QAccessible::Role> eventRoles;  // the role of the object each was about

void Record(QAccessibleEvent* event) {
    events.push_back(event->type());
    QAccessibleInterface* iface = event->accessibleInterface();
    eventRoles.push_back(iface ? iface->role() : QAccessible::NoRole);
}

QString CellText(QAccessibleInterface* cell) {
    QAccessibleTextInterface* text = cell->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("<no text>");
}

}  // namespace

class TGridAccessTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { SetCellAnnouncer(Record); }
    void tables_data();
    void tables();
    void focusAndAnnouncements();
    void outputText();
};

void TGridAccessTest::tables_data() {
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("cellName");
    QTest::addColumn<QString>("cellText");
    QTest::newRow("memory first") << 16 << 16 << QStringList() << 0 << 0x3C << "00: 3C"
                                  << "3C";
    QTest::newRow("memory last") << 16 << 16 << QStringList() << 255 << 0x0A << "FF: 0A"
                                 << "0A";
    QTest::newRow("memory row 1") << 16 << 16 << QStringList() << 17 << 0xFF << "11: FF"
                                  << "FF";
    QTest::newRow("registers") << 1 << 16 << QStringList{"R0", "R1", "R2"} << 2 << 7 << "R2: 07"
                               << "07";
    QTest::newRow("IR four digits") << 1 << 2 << QStringList{"PC", "IR"} << 1 << 0x2A5 << "IR: 02A5"
                                    << "02A5";
}

void TGridAccessTest::tables() {
    QFETCH(int, cols);
    QFETCH(int, rows);
    QFETCH(QStringList, names);
    QFETCH(int, index);
    QFETCH(int, value);
    QFETCH(QString, cellName);
    QFETCH(QString, cellText);
    THexGrid grid;
    grid.SetColCount(cols);
    grid.SetRowCount(rows);
    grid.SetCellNames(names);
    grid.setAccessibleName("Main Memory");
    grid.OnGetEditLimit = [cols](THexGrid*, int, int row, int& digits) {
        if (row == 1 && cols == 1) digits = 4;
    };
    grid.SetContents(index, value);

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&grid);
    QVERIFY(table);
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QString("Main Memory"));
    QCOMPARE(table->childCount(), cols * rows);
    QAccessibleTableInterface* cells = table->tableInterface();
    QVERIFY(cells);
    QCOMPARE(cells->columnCount(), cols);
    QCOMPARE(cells->rowCount(), rows);

    QAccessibleInterface* cell = cells->cellAt(index / cols, index % cols);
    QVERIFY(cell);
    QCOMPARE(cell->role(), QAccessible::Cell);
    QCOMPARE(cell->text(QAccessible::Name), cellName);
    QCOMPARE(CellText(cell), cellText);
    QCOMPARE(cell->parent(), table);
    QCOMPARE(table->indexOfChild(cell), index);
    QCOMPARE(table->child(index), cell);
    QCOMPARE(cell->tableCellInterface()->rowIndex(), index / cols);
    QCOMPARE(cell->tableCellInterface()->columnIndex(), index % cols);
    QVERIFY(!cells->cellAt(rows, 0));
    QVERIFY(!table->child(cols * rows));

    // A cell left behind by a shrinking grid goes invalid instead of reading past the end.
    grid.SetRowCount(1);
    QCOMPARE(cell->isValid(), index < cols);
    if (index >= cols) QCOMPARE(CellText(cell), QString());
}

void TGridAccessTest::focusAndAnnouncements() {
    QWidget window;
    auto* grid = new THexGrid(&window);
    grid->SetColCount(16);
    grid->SetRowCount(16);
    window.resize(grid->sizeHint() + QSize(20, 20));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus());
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);

    events.clear();
    eventRoles.clear();
    grid->SetCol(5);
    QCOMPARE(table->focusChild(), table->child(5));
    QVERIFY(table->child(5)->state().focused);
    QVERIFY(!table->child(4)->state().focused);
    QCOMPARE(events, std::vector<QAccessible::Event>{QAccessible::Focus});
    QCOMPARE(eventRoles, std::vector<QAccessible::Role>{QAccessible::Cell});

    struct {
        const char* what;
        int index;
        bool quiet;
        bool announced;
    } const cases[] = {
        {"the focused cell", 5, false, true},
        {"another cell", 6, false, false},
        {"the focused cell while quiet", 5, true, false},
    };
    int value = 1;
    for (const auto& c : cases) {
        events.clear();
        grid->SetQuietChanges(c.quiet);
        grid->SetContents(c.index, value++);
        const auto expected =
            c.announced ? std::vector{QAccessible::TextUpdated} : std::vector<QAccessible::Event>{};
        QVERIFY2(events == expected, c.what);
    }
    grid->SetQuietChanges(false);
    events.clear();
    grid->SetContents(5, 0x9B);
    QCOMPARE(events.size(), size_t(1));
    QCOMPARE(CellText(table->child(5)), QString("9B"));

    grid->clearFocus();
    QVERIFY(!table->focusChild());
}

void TGridAccessTest::outputText() {
    TShowText output;
    output.resize(200, 100);
    output.CalcWinSize();
    output.setAccessibleName("Output Window");
    events.clear();
    output.Write("Hi\nthere\x01");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&output);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), QString("Output Window"));
    QAccessibleTextInterface* text = iface->textInterface();
    QVERIFY(text);
    // The control code reads as the glyph it is drawn with.
    const QString shown = QString("Hi\nthere") + QChar(0x263A);
    QCOMPARE(text->text(0, text->characterCount()), shown);
    QCOMPARE(text->characterCount(), int(shown.size()));
    QCOMPARE(text->text(3, 8), QString("there"));

    // What was written since the last frame is spoken as one insertion at the end, with a
    // backspace taking back what it removed.
    QTRY_VERIFY(!events.empty());  // the text above, spoken with its frame
    events.clear();
    std::vector<QString> inserted;
    SetCellAnnouncer([&inserted](QAccessibleEvent* event) {
        events.push_back(event->type());
        if (event->type() == QAccessible::TextInserted)
            inserted.push_back(static_cast<QAccessibleTextInsertEvent*>(event)->textInserted());
    });
    output.Write("\nok!\x08?");
    QTRY_COMPARE(events.size(), size_t(1));
    QCOMPARE(inserted, std::vector<QString>{"\nok?"});
    output.Write('x');
    QTRY_COMPARE(inserted.size(), size_t(2));
    QCOMPARE(inserted.back(), QString("x"));
    SetCellAnnouncer(Record);
}

QTEST_MAIN(TGridAccessTest)
#include "gridaccess_test.moc"
