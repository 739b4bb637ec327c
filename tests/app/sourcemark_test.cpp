// The assembler editor following the machine it assembled into: breakpoints set in its
// gutter or by F5, the dots of breakpoints set anywhere, and the mark on PC's line.
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include "app/asmeditors.h"
#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "editor/asmedit.h"
#include "gui/processvalues.h"
#include "testprompt.h"

namespace {

// Line 2 places nothing; 4 and 5 neither, and no line follows them.
const QString Program = QStringLiteral(
    "        load R1,1\n"
    "loop:   addi R2,R2,R1\n"
    "        ; the loop\n"
    "        jmp loop\n"
    "\n"
    "; end\n");

}  // namespace

class TSourceMarkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTestPrompt> prompt;
    std::unique_ptr<TMainWin> main;

    TAssemblerEditor* Assembled() {
        main->AssemblerButton->click();
        TAssemblerEditor* editor = AssemblerEditor();
        editor->TextEditor->setPlainText(Program);
        editor->AssembleButton->click();
        return editor;
    }
    static QPoint LinePoint(TAssemblerEditor* e, int line, int x) {
        const QTextBlock block = e->TextEditor->document()->findBlockByNumber(line);
        QTextCursor cursor(block);
        return {x, e->TextEditor->cursorRect(cursor).center().y()};
    }
    static bool GutterDot(TAssemblerEditor* e, int line) {
        QWidget* gutter = e->TextEditor->Gutter();
        const QImage image = gutter->grab().toImage();
        const QPoint p = LinePoint(e, line, TSourceEdit::GutterWidth / 2);
        const qreal ratio = image.devicePixelRatio();
        return image.pixelColor(QPoint(int(p.x() * ratio), int(p.y() * ratio))) ==
               QColor(0xFF, 0, 0);
    }
    static void PlaceCaret(TAssemblerEditor* e, int line) {
        e->TextEditor->setTextCursor(
            QTextCursor(e->TextEditor->document()->findBlockByNumber(line)));
    }
    void Step() { main->StepButton->click(); }

private slots:
    void init() {
        prompt = std::make_unique<TTestPrompt>();
        ProcessValues() = TProcessValues{};
        main = std::make_unique<TMainWin>();
        InstallAssemblerEditors(*main);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup() {
        // The editors go with the main window, after the object they assemble through.
        for (TAssemblerEditor* e : main->findChildren<TAssemblerEditor*>())
            e->SetFileModified(false);
        main->SetMemModified(false);
        main.reset();
        prompt.reset();
    }

    void GutterAndF5PickTheLinesFirstAddress_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("address");  // -1: no breakpoint
        QTest::newRow("first line") << 0 << 0;
        QTest::newRow("label line") << 1 << 2;
        QTest::newRow("comment takes the next line") << 2 << 4;
        QTest::newRow("nothing follows") << 4 << -1;
    }
    void GutterAndF5PickTheLinesFirstAddress() {
        QFETCH(int, line);
        QFETCH(int, address);
        TAssemblerEditor* editor = Assembled();
        QTest::mouseClick(editor->TextEditor->Gutter(), Qt::LeftButton, {},
                          LinePoint(editor, line, 3));
        for (int a = 0; a < 256; ++a)
            QCOMPARE(main->Simulation().Breakpoints().Has(a), a == address);
        PlaceCaret(editor, line);
        editor->ToggleBreakpointKey->trigger();  // F5 takes the same address away
        QVERIFY(main->Simulation().Breakpoints().Empty());
    }

    void GutterBreakpointStopsRunAndDotsFollowEveryWindow() {
        TAssemblerEditor* editor = Assembled();
        QTest::mouseClick(editor->TextEditor->Gutter(), Qt::LeftButton, {},
                          LinePoint(editor, 3, 3));
        QVERIFY(main->Simulation().Breakpoints().Has(4));
        QVERIFY(GutterDot(editor, 3));
        QVERIFY(!GutterDot(editor, 2));
        main->RunButton->click();
        QTRY_VERIFY(!main->Running());
        QCOMPARE(main->PanelText(2), QString("Breakpoint at 04"));
        QCOMPARE(main->SysRegs->GetContents(0), 4);
        QCOMPARE(editor->TextEditor->MarkedLine(), 3);
        // Set in the main window's list, shown in the editor's gutter.
        main->DisasmWin->setCurrentRow(1);
        main->MenuToggleBreakpoint->trigger();
        QVERIFY(GutterDot(editor, 1));
        main->MenuRemoveAllBreakpoints->trigger();
        QVERIFY(!GutterDot(editor, 1));
        QVERIFY(!GutterDot(editor, 3));
    }

    void MarkFollowsStepsAndEndsOnEdits() {
        TAssemblerEditor* editor = Assembled();
        TSourceEdit* text = editor->TextEditor;
        QCOMPARE(text->MarkedLine(), 0);
        const QList<QTextEdit::ExtraSelection> marks = text->extraSelections();
        QCOMPARE(marks.size(), 1);
        QVERIFY(marks[0].format.property(QTextFormat::FullWidthSelection).toBool());
        for (const int expected : {1, 3, 1, 3}) {
            Step();
            QCOMPARE(text->MarkedLine(), expected);
        }
        for (const int expected : {1, 3, 1, 0}) {  // a step back is no edit: the mark stays
            main->MenuStepBack->trigger();
            QCOMPARE(text->MarkedLine(), expected);
        }
        main->MenuRunBack->trigger();
        QTRY_COMPARE(main->PanelText(2), QString("Start of history"));
        QCOMPARE(text->MarkedLine(), 0);
        for (int i = 0; i < 4; ++i) Step();
        main->SysRegs->SetContents(0, 0x20);  // PC where no line placed code
        QCOMPARE(text->MarkedLine(), -1);
        main->SysRegs->SetContents(0, 0);
        QCOMPARE(text->MarkedLine(), 0);

        main->MainMemory->SetContents(0x40, 1);  // the user's memory edit ends it
        QCOMPARE(text->MarkedLine(), -1);
        Step();
        QCOMPARE(text->MarkedLine(), -1);

        main->SetMemModified(false);  // so that assembling does not ask
        editor->AssembleButton->click();
        QCOMPARE(text->MarkedLine(), 0);
        QTest::keyClick(text, Qt::Key_X);  // an edit of the text ends it
        QCOMPARE(text->MarkedLine(), -1);
        Step();
        QCOMPARE(text->MarkedLine(), -1);
    }

    void AnotherAssemblyEndsTheMark() {
        TAssemblerEditor* first = Assembled();
        QCOMPARE(first->TextEditor->MarkedLine(), 0);
        TAssemblerEditor* second = Assembled();
        QCOMPARE(second->TextEditor->MarkedLine(), 0);
        QCOMPARE(first->TextEditor->MarkedLine(), -1);
        Step();
        QCOMPARE(first->TextEditor->MarkedLine(), -1);
        QCOMPARE(second->TextEditor->MarkedLine(), 1);
    }
};

QTEST_MAIN(TSourceMarkTest)
#include "sourcemark_test.moc"
