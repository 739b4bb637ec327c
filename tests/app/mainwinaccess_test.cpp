// The main window as a screen reader sees it: its grids are tables of named cells whose
// text is the value shown, the output window is text, and the disassembly list has a name.

#include <QAccessible>
#include <QListWidget>
#include <QtTest>

#include "controls/hexgrid.h"
#include "controls/showtext.h"
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
            {"Main Memory", 16, 16, 0xA7, "A7", "2F"},
            {"Registers", 16, 1, 3, "R3", "41"},
            {"System Registers", 2, 1, IrIndex, "IR", "C000"},
            {"System Registers", 2, 1, PcIndex, "PC", "12"},
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
};

QTEST_MAIN(TMainWinAccessTest)
#include "mainwinaccess_test.moc"
