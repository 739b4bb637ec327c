// What the controls put on screen: cell backgrounds and text colours by state, the
// open editor over its cell, and the terminal's text. With QUARZEL_SCREENSHOTS set to
// a folder, the pictures are also saved there to be looked at.

#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <map>

#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "pixels.h"

namespace {

void Save(const QImage& image, const char* name) {
    const QString folder = qEnvironmentVariable("QUARZEL_SCREENSHOTS");
    if (!folder.isEmpty()) image.save(folder + "/" + name);
}

}  // namespace

class TDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void gridCells();
    void wideCellsFit();
    void terminalText();
};

void TDrawingTest::gridCells() {
    QWidget window;
    auto* grid = new THexGrid(&window);
    grid->SetColCount(16);
    grid->SetRowCount(16);
    grid->resize(grid->sizeHint());
    window.resize(grid->size());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (int i = 0; i < 256; ++i) grid->SetContents(i, (i * 7) & 0xFF);
    grid->SetModified(false);
    grid->SetContents(0x15, 0xAB);  // the changed cell
    grid->SetSelStart(0x2E);        // a selection running over a row end
    grid->SetSelEnd(0x33);
    grid->SetFocus();

    const QImage plain = grid->grab().toImage();
    const QColor highlight = grid->palette().color(QPalette::Highlight);
    const QColor changed = grid->FontChanged().Color;
    const QRect selected = grid->CellRect(0x0F, 2), outside = grid->CellRect(4, 3);
    QCOMPARE(plain.pixelColor(selected.topLeft() + QPoint(1, 1)), highlight);
    QCOMPARE(plain.pixelColor(grid->CellRect(0, 3).topLeft() + QPoint(1, 1)), highlight);
    QCOMPARE(plain.pixelColor(outside.topLeft() + QPoint(1, 1)), grid->Color());
    QVERIFY(Contains(plain, grid->CellRect(5, 1), changed));
    QVERIFY(!Contains(plain, outside, changed));
    QVERIFY(Contains(plain, outside, grid->FontColor()));
    Save(plain, "hexgrid.png");

    // The owner's drawing hook sees each cell's state.
    std::map<int, TGridDrawState> states;
    grid->OnDrawCell = [&states](THexGrid* sender, QPainter&, int col, int row, const QRect&,
                                 TGridDrawState state) {
        states[row * sender->ColCount() + col] = state;
    };
    grid->repaint();
    QCOMPARE(states.size(), size_t(256));
    QCOMPARE(states[0x00], TGridDrawState(gdFocused));
    QCOMPARE(states[0x15], TGridDrawState(gdChanged));
    QCOMPARE(states[0x2E], TGridDrawState(gdSelected));
    QCOMPARE(states[0x33], TGridDrawState(gdSelected));
    QCOMPARE(states[0x34], TGridDrawState());
    grid->OnDrawCell = nullptr;

    // Clearing the modified mark takes the changed colour away.
    grid->SetModified(false);
    QVERIFY(!Contains(grid->grab().toImage(), grid->CellRect(5, 1), changed));

    grid->SetCol(9);
    grid->SetRow(4);
    grid->ShowEditor();
    QTest::keyClicks(grid->InplaceEditor(), "5");
    const QRect cell = grid->CellRect(9, 4);
    QCOMPARE(grid->InplaceEditor()->geometry(), cell.adjusted(0, 0, 1, 1));
    const QImage editing = grid->grab().toImage();
    QCOMPARE(editing.pixelColor(cell.bottomRight() - QPoint(1, 1)), grid->Color());
    QVERIFY(Contains(editing, cell, grid->FontColor()));
    Save(editing, "hexgrid-editor.png");
}

// SysRegs as the main window sets it up: IR's four digits fit its 32-pixel column.
void TDrawingTest::wideCellsFit() {
    THexGrid sysRegs;
    sysRegs.SetColCount(1);
    sysRegs.SetRowCount(2);
    sysRegs.SetDefaultColWidth(32);
    sysRegs.OnGetEditLimit = [](THexGrid*, int, int row, int& value) {
        if (row == 1) value = 4;
    };
    sysRegs.resize(sysRegs.sizeHint());
    sysRegs.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sysRegs));
    sysRegs.SetContents(0, 0x1E);
    sysRegs.SetContents(1, 0xCCCC);
    const QRect ir = sysRegs.CellRect(0, 1);
    QFont bold = sysRegs.font();
    bold.setBold(true);
    QVERIFY(QFontMetrics(bold).horizontalAdvance("CCCC") + 3 < ir.width());
    QVERIFY(ir.bottom() < sysRegs.height() - 1);
    const QImage image = sysRegs.grab().toImage();
    const QColor changed = sysRegs.FontChanged().Color;
    QVERIFY(Contains(image, ir, changed));
    QVERIFY(!Contains(image, QRect(ir.right() - 1, ir.top(), 2, ir.height()), changed));
    Save(image, "sysregs.png");
}

void TDrawingTest::terminalText() {
    TShowText text;
    text.resize(153, 57);
    text.show();
    QVERIFY(QTest::qWaitForWindowExposed(&text));
    text.Write("Hello, world!\nA\tB\n\x01\x03\xB0\xB1\xB2\xDB\r\n");
    const QImage image = text.grab().toImage();
    const QRect client = text.contentsRect();
    QCOMPARE(image.pixelColor(client.bottomRight()), text.Color());
    QVERIFY(Contains(image, client, text.TextColor()));
    Save(image, "showtext.png");
}

QTEST_MAIN(TDrawingTest)
#include "drawing_test.moc"
