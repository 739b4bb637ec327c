// The assembler editor following the machine it assembled into: breakpoints set in its
// gutter or by F5 and kept on their lines through edits, the dots of breakpoints set
// anywhere, the mark on PC's line, and the main window's commands steering from the editor.
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QToolButton>
#include <QtTest>

#include "app/asmeditors.h"
#include "app/mainwin.h"
#include "app/tracewin.h"
#include "controls/hexgrid.h"
#include "editor/asmedit.h"
#include "editor/asmtests.h"
#include "gui/helpcontexts.h"
#include "gui/processvalues.h"
#include "gui/theme.h"
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

// The summing exercise: 0A is the count-down line (9), 08 the line above it.
const QString Sum = QStringLiteral(
    "; sum\n\n\n\n"
    "        load R0,0\n"
    "        load R2,-1\n"
    "        load R3,0\n"
    "loop:   jmpEQ R1=R0,done\n"
    "        addi R3,R3,R1\n"
    "        addi R1,R1,R2\n"
    "        jmp loop\n"
    "done:   halt\n");

}  // namespace

class TSourceMarkTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TTestPrompt> prompt;
    std::unique_ptr<TMainWin> main;

    TAssemblerEditor* Opened(const QString& text) {
        main->AssemblerButton->click();
        TAssemblerEditor* editor = AssemblerEditor();
        editor->TextEditor->setPlainText(text);
        return editor;
    }
    TAssemblerEditor* Assembled(const QString& text = Program) {
        TAssemblerEditor* editor = Opened(text);
        Assemble(editor);
        return editor;
    }
    void Assemble(TAssemblerEditor* editor) {
        main->SetMemModified(false);  // so that assembling does not ask
        editor->AssembleButton->click();
    }
    std::vector<int> Breakpoints() const {
        std::vector<int> set;
        for (int a = 0; a < 256; ++a)
            if (main->Simulation().Breakpoints().Has(a)) set.push_back(a);
        return set;
    }
    static std::vector<int> Dots(TAssemblerEditor* e) {
        std::vector<int> lines;
        for (int line = 0; line < e->TextEditor->blockCount(); ++line)
            if (e->TextEditor->HasDot && e->TextEditor->HasDot(line)) lines.push_back(line);
        return lines;
    }
    static bool WriteFile(const QString& path, const QByteArray& text) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    }
    static void Toggle(TAssemblerEditor* e, int line) {
        PlaceCaret(e, line);
        e->MenuToggleBreakpoint->trigger();
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
        SetTheme(TTheme::Light);
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
        Toggle(editor, line);  // F5 takes the same address away
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

    void MarkFollowsStepsUntilTheProgramsBytesAreWritten() {
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
        for (int i = 0; i < 4; ++i) Step();
        main->SysRegs->SetContents(0, 0x20);  // PC where no line placed code
        QCOMPARE(text->MarkedLine(), -1);
        main->SysRegs->SetContents(0, 0);
        QCOMPARE(text->MarkedLine(), 0);

        main->MainMemory->SetContents(0xF0, 1);  // data outside the program keeps it
        Step();
        QCOMPARE(text->MarkedLine(), 1);
        main->MainMemory->SetContents(0x03, 1);  // a write into the program's bytes ends it
        QCOMPARE(text->MarkedLine(), -1);
        Step();
        QCOMPARE(text->MarkedLine(), -1);

        Assemble(editor);
        QCOMPARE(text->MarkedLine(), 0);
        QVERIFY(!text->Hollow());
        QTest::keyClick(text, Qt::Key_X);  // an edit leaves it, hollow
        QCOMPARE(text->MarkedLine(), 0);
        QVERIFY(text->Hollow());
        QCOMPARE(editor->PanelText(3), QString("Changed since Assemble"));
        QTest::keyClick(text, Qt::Key_Backspace);  // the assembled text again
        QVERIFY(!text->Hollow());
        QCOMPARE(editor->PanelText(3), QString());
    }

    void LastExecutedLineStaysMarkedAfterAStop_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("run");
        QTest::addColumn<QString>("status");
        QTest::newRow("halt by steps") << "load R1,1\nhalt\nload R2,2\n" << false << "Halted";
        QTest::newRow("halt by a run") << "load R1,1\nhalt\n" << true << "Halted";
        QTest::newRow("invalid word") << "load R1,1\ndb 0,0\n" << true << "Invalid instruction";
    }
    void LastExecutedLineStaysMarkedAfterAStop() {
        QFETCH(QString, source);
        QFETCH(bool, run);
        QFETCH(QString, status);
        TAssemblerEditor* editor = Assembled(source);
        TSourceEdit* text = editor->TextEditor;
        if (run) {
            main->RunButton->click();
            QTRY_VERIFY(!main->Running());
        } else {
            Step();
            Step();
        }
        QCOMPARE(main->PanelText(2), status);
        QCOMPARE(text->MarkedLine(), 1);
        QCOMPARE(text->MarkKind(), TLineMark::LastExecuted);
        main->MenuStepBack->trigger();  // PC back on that line: it is current again
        QCOMPARE(text->MarkedLine(), 1);
        QCOMPARE(text->MarkKind(), TLineMark::Current);
    }

    // Inserting a line at the top of the summing exercise after setting a breakpoint on
    // the count-down line.
    void BreakpointsMoveWithTheirLines() {
        TAssemblerEditor* editor = Assembled(Sum);
        Toggle(editor, 9);
        QCOMPARE(Breakpoints(), (std::vector<int>{0x0A}));
        QCOMPARE(Dots(editor), (std::vector<int>{9}));
        QVERIFY(!editor->TextEditor->Hollow());
        QTextCursor top(editor->TextEditor->document());
        top.insertText("        load R4,0\n");
        QCOMPARE(Dots(editor), (std::vector<int>{10}));     // the dot moved with its line ...
        QCOMPARE(Breakpoints(), (std::vector<int>{0x0A}));  // ... whose code has not moved yet
        QVERIFY(editor->TextEditor->Hollow());
        QCOMPARE(editor->PanelText(3), QString("Changed since Assemble"));
        QCOMPARE(editor->TextEditor->MarkedLine(), 5);
        Toggle(editor, 9);  // the add line, still at 08 in memory
        QCOMPARE(Breakpoints(), (std::vector<int>{0x08, 0x0A}));
        Toggle(editor, 0);  // typed since: a dot that waits for Assemble
        QCOMPARE(Dots(editor), (std::vector<int>{0, 9, 10}));
        QCOMPARE(Breakpoints(), (std::vector<int>{0x08, 0x0A}));
        Assemble(editor);
        QCOMPARE(Dots(editor), (std::vector<int>{0, 9, 10}));
        QCOMPARE(Breakpoints(), (std::vector<int>{0x00, 0x0A, 0x0C}));
        QVERIFY(!editor->TextEditor->Hollow());
        QCOMPARE(editor->PanelText(3), QString());
        QCOMPARE(main->PanelText(2), QString("Ready"));  // nothing was removed
        // Deleting a line above takes the dots up with their lines.
        PlaceCaret(editor, 1);
        QTest::keyClick(editor->TextEditor, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Dots(editor), (std::vector<int>{0, 8, 9}));
        QTest::keyClick(editor->TextEditor, Qt::Key_Z, Qt::ControlModifier);  // and undo back
        QCOMPARE(Dots(editor), (std::vector<int>{0, 9, 10}));
        QVERIFY(!editor->TextEditor->Hollow());
    }

    void DotsBeforeTheFirstAssembleBecomeBreakpoints() {
        TAssemblerEditor* editor = Opened(Sum);
        QTest::mouseClick(editor->TextEditor->Gutter(), Qt::LeftButton, {},
                          LinePoint(editor, 9, 3));
        Toggle(editor, 1);   // an empty line: the next line with code
        Toggle(editor, 12);  // after the last line: nothing
        QCOMPARE(Dots(editor), (std::vector<int>{1, 9, 12}));
        QVERIFY(editor->TextEditor->Hollow());
        QVERIFY(Breakpoints().empty());
        Assemble(editor);
        QCOMPARE(Breakpoints(), (std::vector<int>{0x00, 0x0A}));
        QCOMPARE(Dots(editor), (std::vector<int>{4, 9}));
    }

    void OnlyTheProgramsEditorShowsItsBreakpoints() {
        TAssemblerEditor* first = Assembled(Sum);
        Toggle(first, 9);
        Toggle(first, 8);
        TAssemblerEditor* other = Opened(Sum);  // never assembled
        QVERIFY(Dots(other).empty());
        QCOMPARE(other->TextEditor->MarkedLine(), -1);
        Toggle(other, 4);
        Assemble(other);  // another program: the first one's breakpoints go
        QCOMPARE(main->PanelText(2), QString("2 breakpoints removed"));
        QCOMPARE(Breakpoints(), (std::vector<int>{0x00}));
        QVERIFY(Dots(first).empty());
        QCOMPARE(first->TextEditor->MarkedLine(), -1);
        QCOMPARE(other->TextEditor->MarkedLine(), 4);
        // An image opened in the main window is another program too.
        main->Simulation().LoadImage(TProgramLoad(TMemoryImage{0xC0, 0x00}));
        QCOMPARE(main->PanelText(2), QString("1 breakpoint removed"));
        QVERIFY(Dots(other).empty());
        QCOMPARE(other->TextEditor->MarkedLine(), -1);
    }

    void OpeningAFileInTheEditorLetsGoOfTheProgram() {
        TAssemblerEditor* editor = Assembled(Sum);
        Toggle(editor, 9);
        QTemporaryDir dir;
        const QString path = dir.filePath("blank.asm");
        QVERIFY(WriteFile(path, "\n\n\n\n\n\n\n\n\n\n\n"));
        QVERIFY(editor->LoadSourceFile(path));
        QVERIFY(Dots(editor).empty());
        QCOMPARE(editor->TextEditor->MarkedLine(), -1);
        QCOMPARE(Breakpoints(), (std::vector<int>{0x0A}));  // the program in memory keeps it
    }

    void ATestLoadedFromTheListShowsTheMark() {
        QTemporaryDir dir;
        const QString path = dir.filePath("sum.asm");
        QVERIFY(WriteFile(path, Sum.toUtf8()));
        QVERIFY(WriteFile(dir.filePath("sum.tests.toml"),
                          "[[test]]\nname = \"t\"\npc = 0x0A\nexpect.pc = 0x0C\n"));
        TAssemblerEditor* editor = Opened({});
        QVERIFY(editor->LoadSourceFile(path));
        editor->Tests->RunTestsClick();
        QTRY_VERIFY(!editor->Tests->MenuStopTests->isEnabled());
        main->SetMemModified(false);
        editor->Tests->LoadTest(0);
        QCOMPARE(main->SysRegs->GetContents(0), 0x0A);
        QCOMPARE(editor->TextEditor->MarkedLine(), 9);
        QVERIFY(!editor->TextEditor->Hollow());
    }

    void GutterHasItsOwnShadeInEveryTheme_data() {
        QTest::addColumn<int>("theme");
        for (const TTheme theme : {TTheme::Light, TTheme::Dark, TTheme::HighContrast})
            QTest::newRow(qPrintable(QString::number(int(theme)))) << int(theme);
    }
    void GutterHasItsOwnShadeInEveryTheme() {
        QFETCH(int, theme);
        SetTheme(TTheme(theme));
        TAssemblerEditor* editor = Opened(Sum);
        const QImage gutter = editor->TextEditor->Gutter()->grab().toImage();
        const QImage text = editor->TextEditor->viewport()->grab().toImage();
        const QColor shade = gutter.pixelColor(2, gutter.height() - 3);
        QVERIFY(shade != text.pixelColor(text.width() - 3, text.height() - 3));
        QVERIFY(shade != gutter.pixelColor(gutter.width() - 1, gutter.height() - 3));  // edge
        SetTheme(TTheme::System);
    }

    void DebugMenuSteersTheMachine() {
        TAssemblerEditor* editor = Assembled(Sum);
        QStringList captions;
        for (const QAction* a : editor->DebugMenu->actions())
            if (!a->isSeparator()) captions << a->text();
        QCOMPARE(captions,
                 (QStringList{"&Step", "Step &Back", "&Run", "Run B&ack", "Break",
                              "Toggle Brea&kpoint", "Run to C&ursor", "Remove All Breakpoi&nts"}));
        for (const char* own :
             {"MenuToggleBreakpoint", "MenuRunToCursor", "MenuRemoveAllBreakpoints"})
            QCOMPARE(editor->DebugMenu->findChild<QAction*>(own)->property(HelpContextProperty),
                     QVariant(DebugMenuContext));
        QVERIFY(!main->MenuStepBack->isEnabled());
        editor->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), editor);  // the keys are the editor's
        QTest::keyClick(editor->TextEditor, Qt::Key_F8);
        QCOMPARE(main->SysRegs->GetContents(0), 2);
        QVERIFY(main->MenuStepBack->isEnabled());
        QTest::keyClick(editor->TextEditor, Qt::Key_F8, Qt::ShiftModifier);
        QCOMPARE(main->SysRegs->GetContents(0), 0);
        main->Registers->SetContents(1, 3);  // N, so that the loop runs
        PlaceCaret(editor, 9);
        QTest::keyClick(editor->TextEditor, Qt::Key_F10, Qt::ControlModifier);  // run to cursor
        QTRY_VERIFY(!main->Running());
        QCOMPARE(main->SysRegs->GetContents(0), 0x0A);
        QCOMPARE(editor->TextEditor->MarkedLine(), 9);
        main->SetRunRate(10);
        QTest::keyClick(editor->TextEditor, Qt::Key_F9);
        QVERIFY(main->Running());
        QCOMPARE(main->PanelText(2), QString("Running at 10/s..."));
        QTest::keyClick(editor->TextEditor, Qt::Key_F5, Qt::ShiftModifier);  // Break
        QVERIFY(!main->Running());
        main->SetRunRate(0);
        editor->MenuRemoveAllBreakpoints->trigger();
        QVERIFY(Breakpoints().empty());
        // The trace window steers with the same keys.
        main->MenuTraceClick();
        auto* trace = main->findChild<TTraceWin*>();
        QTRY_COMPARE(QApplication::activeWindow(), trace);
        const int pc = main->SysRegs->GetContents(0);
        QTest::keyClick(trace->TraceTable, Qt::Key_F8);
        QVERIFY(main->SysRegs->GetContents(0) != pc);
    }
};

QTEST_MAIN(TSourceMarkTest)
#include "sourcemark_test.moc"
