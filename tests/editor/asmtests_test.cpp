// The editor's Tests menu: finding and opening a test file, running it on the text in the
// background without touching the machine, listing results and test-file errors, stopping a
// run, and loading a test's starting state into the machine after the question about
// unsaved memory.

#include <QAccessible>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "controls/gridaccess.h"
#include "core/hex.h"
#include "core/simulation.h"
#include "editor/asmedit.h"
#include "editor/asmtests.h"
#include "editor/testprogress.h"
#include "grading/testrun.h"
#include "gui/helphook.h"
#include "gui/listfocus.h"
#include "gui/theme.h"
#include "gui/zoom.h"
#include "testprompt.h"

namespace {

class TMachineOwner final : public TSimulationObserver, public TMemoryDocument {
public:
    TCellStore Memory{256};
    TCellStore Registers{16};
    TCellStore SysRegs{2};
    TSimulation Sim{{Memory, Registers, SysRegs}};
    bool Modified = false;
    int Writes = 0;  // to any store

    TMachineOwner() {
        Sim.AddObserver(this);
        Sim.SetDocument(this);
    }
    ~TMachineOwner() override { Sim.RemoveObserver(this); }
    void MemoryChanged(const TCellChange&) override { ++Writes; }
    void RegisterChanged(const TCellChange&) override { ++Writes; }
    void SysRegChanged(const TCellChange&) override { ++Writes; }
    void ImageLoaded() override { Modified = false; }
    bool MemModified() const override { return Modified; }
    void SaveMemory() override {}
    void Activate() override {}
};

constexpr const char* Source = "addi R3,R1,R2\nhalt\n";
constexpr const char* Tests = R"([[test]]
name = "5 + 10"
registers = { R1 = 5, R2 = 10 }
memory = { 80 = [1, 2] }
pc = 0
expect.registers = { R3 = 15 }
[[test]]
name = "wrong"
pc = 2
expect = { registers = { R3 = 1 }, pc = 6 }
)";

void WriteFile(const QString& path, const char* text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void WaitForResults(TAsmTests& tests) {
    if (!tests.Running()) return;
    QSignalSpy finished(&tests, &TAsmTests::RunFinished);
    QVERIFY(finished.wait(600'000));
}

// A quick test, one of a billion steps that never ends on its own, and another quick one.
constexpr const char* EndlessTests = R"(test = [
  { name = "first", expect.pc = 4 },
  { name = "endless", pc = 0x80, memory.80 = [0xB0, 0x80], max-steps = 1000000000, expect.pc = 0 },
  { name = "after", expect.pc = 4 }])";

QStringList Rows(const QListWidget& box) {
    QStringList rows;
    for (int i = 0; i < box.count(); ++i) rows << box.item(i)->text();
    return rows;
}

}  // namespace

class TAsmTestsTest : public QObject {
    Q_OBJECT
private slots:
    void NothingToRunWithoutATestFile();
    void RunsTheTestsBesideTheSource();
    void WarningsFailFailsEveryTestUnrun();
    void MistakesGoToTheErrorList_data();
    void MistakesGoToTheErrorList();
    void OpenTestsChoosesTheFile();
    void DoubleClickLoadsTheStartingState_data();
    void DoubleClickLoadsTheStartingState();
    void InterruptingARun_data();
    void InterruptingARun();
    void ARandomStartLoadsExactlyAsItRan();
    void LoadingAfterAnEditRunsTheTestsAgain();
    void TheResultsShareThePanel();
};

void TAsmTestsTest::NothingToRunWithoutATestFile() {
    // Captions and keys are checked with the editor's other entries.
    TAssemblerEditor editor;
    QCOMPARE(editor.Tests->TestBox->objectName(), QStringLiteral("TestBox"));
    QVERIFY(editor.Tests->TestBox->isHidden());
    // F1 on the menu's entries and on the results asks for the Tests topic, although the
    // editor offers no other context help.
    for (QAction* entry : editor.Tests->TestsMenu->actions())
        QCOMPARE(entry->property(HelpContextProperty).toInt(), TestsMenuContext);
    int asked = 0;
    HelpHook().SetViewerOpener([&asked](int context) { asked = context; });
    HelpHook().Install();
    editor.Tests->TestBox->show();
    editor.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Tests->TestBox->setFocus();
    QTest::keyClick(editor.Tests->TestBox, Qt::Key_F1);
    QCOMPARE(asked, TestsMenuContext);
    asked = 0;
    editor.TextEditor->setFocus();
    QTest::keyClick(editor.TextEditor, Qt::Key_F1);
    QCOMPARE(asked, 0);
    editor.Tests->TestBox->hide();
    // Without a file there is nothing to run, which the user is told.
    TTestPrompt prompt;
    editor.Tests->RunTestsClick();
    QCOMPARE(prompt.Shown.size(), 1);
    QVERIFY(prompt.Shown.front().startsWith(QStringLiteral("Error|No test file")));
}

void TAsmTestsTest::RunsTheTestsBesideTheSource() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), Source);
    WriteFile(dir.filePath("sum.tests.toml"), Tests);
    TTestPrompt prompt;
    TMachineOwner owner;
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("sum.asm")));
    QCOMPARE(editor.Tests->TestsFileName(), dir.filePath("sum.tests.toml"));
    // What a screen reader is told: the summary, once, when the run ends.
    QStringList said;
    SetCellAnnouncer([&said](QAccessibleEvent* event) {
        if (event->type() == QAccessible::ObjectShow)
            said << event->accessibleInterface()->text(QAccessible::Name);
    });
    QTest::keyClick(editor.TextEditor, Qt::Key_T, Qt::ControlModifier);
    WaitForResults(*editor.Tests);
    QTRY_COMPARE(said, QStringList{"1 of 2 tests passed, 1 of 2 points"});
    SetCellAnnouncer({});
    QListWidget* box = editor.Tests->TestBox;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(box);
    QCOMPARE(list->text(QAccessible::Name), QString("Test results"));
    QVERIFY(!box->isHidden());
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->item(0)->text(), QStringLiteral("passed: 5 + 10"));
    QCOMPARE(box->item(0)->foreground().color(), QColor(0, 0x80, 0));
    QCOMPARE(box->item(1)->text(),
             QStringLiteral(
                 "failed: wrong: R3 is 0 (00), expected 1 (01); PC is 4 (04), expected 6 (06)"));
    QCOMPARE(box->item(1)->foreground().color(), ThemeColour(TThemeColour::TestFailed));
    QCOMPARE(owner.Writes, 0);
    QCOMPARE(editor.ErrorBox->count(), 0);
    QVERIFY(prompt.Shown.isEmpty());
}

void TAsmTestsTest::WarningsFailFailsEveryTestUnrun() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), "x: addi R3,R1,R2\nhalt\n");  // x is never used
    WriteFile(dir.filePath("sum.tests.toml"),
              (QByteArray("warnings = \"fail\"\n") + Tests).constData());
    TTestPrompt prompt;
    TAssemblerEditor editor;
    QVERIFY(editor.LoadSourceFile(dir.filePath("sum.asm")));
    editor.Tests->RunTestsClick();
    WaitForResults(*editor.Tests);
    const QString unrun = QStringLiteral("failed: %1: ") + QString::fromUtf8(WarningsNotAllowed);
    QCOMPARE(Rows(*editor.Tests->TestBox), (QStringList{unrun.arg("5 + 10"), unrun.arg("wrong")}));
}

void TAsmTestsTest::MistakesGoToTheErrorList_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("tests");
    // The test file's path relative to the source's folder; other than the one beside the
    // source, it is opened with Open Tests.
    QTest::addColumn<QString>("testsFile");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("test file") << Source << "[[test]]\nname = \"a\"\nexpected = 1\n"
                               << "t.tests.toml"
                               << QStringList{
                                      "t.tests.toml:1:1: test 'a' has no expectation "
                                      "([test.expect])",
                                      "t.tests.toml:3:1: unknown key 'expected'; a test takes "
                                      "name, description, hidden, points, pc, max-steps, fill, "
                                      "seed, registers, memory, expect"};
    QTest::newRow("source") << "addi R3\n"
                            << Tests << "t.tests.toml"
                            << QStringList{"line 1: Unexpected end of line. Expected: ','",
                                           "line 1: Unexpected end of line. Expected: register"};
    QTest::newRow("both, test file in the folder above")
        << "halt R1\n"
        << "x = [\n"
        << "../t.toml"
        << QStringList{"line 1: Extra characters on line. Expected: nothing",
                       "../t.toml:1:7: Error while parsing array: encountered end-of-file"};
}

void TAsmTestsTest::MistakesGoToTheErrorList() {
    QFETCH(QString, source);
    QFETCH(QString, tests);
    QFETCH(QString, testsFile);
    QFETCH(QStringList, errors);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("src"));
    const QString file = QDir::cleanPath(dir.filePath("src/" + testsFile));
    WriteFile(file, tests.toUtf8().constData());
    WriteFile(dir.filePath("src/t.asm"), source.toUtf8().constData());
    TTestPrompt prompt;
    TMachineOwner owner;
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("src/t.asm")));
    if (!testsFile.endsWith(".tests.toml")) {
        prompt.FileNames.push_back(file);
        editor.Tests->OpenTestsClick();
    }
    editor.Tests->RunTestsClick();
    QStringList listed;
    for (int i = 0; i < editor.ErrorBox->count(); ++i) listed << editor.ErrorBox->item(i)->text();
    QCOMPARE(listed, errors);
    QVERIFY(editor.Tests->TestBox->isHidden());
    QVERIFY(editor.ErrorsMenu->isEnabled());
    // Visiting a test-file error leaves the caret where it was.
    QTextCursor cursor = editor.TextEditor->textCursor();
    cursor.setPosition(3);
    editor.TextEditor->setTextCursor(cursor);
    editor.GoToError(editor.ErrorBox->count() - 1);
    QCOMPARE(SelectedRow(*editor.ErrorBox), editor.ErrorBox->count() - 1);
    if (listed.back().startsWith(testsFile))
        QCOMPARE(editor.TextEditor->textCursor().position(), 3);
    QCOMPARE(owner.Writes, 0);
}

void TAsmTestsTest::OpenTestsChoosesTheFile() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("other.toml"), Tests);
    TTestPrompt prompt;
    TAssemblerEditor editor;
    editor.TextEditor->setPlainText(QString::fromLatin1(Source));
    prompt.FileNames.push_back(dir.filePath("other.toml"));
    editor.Tests->MenuOpenTests->trigger();
    QCOMPARE(prompt.Requests.size(), 1);
    QCOMPARE(prompt.Requests.front().Title, QStringLiteral("Open Tests"));
    QCOMPARE(editor.Tests->TestsFileName(), dir.filePath("other.toml"));
    editor.Tests->MenuRunTests->trigger();
    WaitForResults(*editor.Tests);
    QCOMPARE(editor.Tests->TestBox->count(), 2);
    // Cancelling the dialog keeps the file.
    editor.Tests->OpenTestsClick();
    QCOMPARE(editor.Tests->TestsFileName(), dir.filePath("other.toml"));
    QCOMPARE(editor.Tests->TestBox->count(), 2);
}

void TAsmTestsTest::DoubleClickLoadsTheStartingState_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("enter");  // Enter on the row instead of a double click
    QTest::newRow("memory unmodified") << false << int(TAnswer::Cancel) << true << false;
    QTest::newRow("cancel") << true << int(TAnswer::Cancel) << false << false;
    QTest::newRow("no") << true << int(TAnswer::No) << true << false;
    QTest::newRow("Enter") << false << int(TAnswer::Cancel) << true << true;
}

void TAsmTestsTest::DoubleClickLoadsTheStartingState() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, loaded);
    QFETCH(bool, enter);
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), Source);
    WriteFile(dir.filePath("sum.tests.toml"), Tests);
    TTestPrompt prompt;
    TMachineOwner owner;
    owner.Memory.SetContents(0x80, 0x77);
    owner.Registers.SetContents(4, 0x44);
    owner.SysRegs.SetContents(0, 0x30);
    owner.SysRegs.SetContents(1, 0x1234);  // IR
    owner.Modified = modified;
    prompt.Answers.push_back(TAnswer(answer));
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("sum.asm")));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    editor.Tests->RunTestsClick();
    WaitForResults(*editor.Tests);
    QListWidget* box = editor.Tests->TestBox;
    QCoreApplication::processEvents();  // lays the list out
    const QRect row = box->visualItemRect(box->item(0));
    // A double click is the second press of two on the same row.
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, row.center());
    if (enter)
        QTest::keyClick(box, Qt::Key_Return);
    else
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(prompt.Shown.size(), modified ? 1 : 0);
    QCOMPARE(owner.Memory.GetContents(0), loaded ? 0x53 : 0);
    QCOMPARE(owner.Memory.GetContents(0x80), loaded ? 1 : 0x77);
    QCOMPARE(owner.Memory.GetContents(0x81), loaded ? 2 : 0);
    QCOMPARE(owner.Registers.GetContents(1), loaded ? 5 : 0);
    QCOMPARE(owner.Registers.GetContents(4), loaded ? 0 : 0x44);
    QCOMPARE(owner.SysRegs.GetContents(0), loaded ? 0 : 0x30);
    QCOMPARE(owner.SysRegs.GetContents(1), loaded ? 0 : 0x1234);  // as on a fresh machine
    QCOMPARE(owner.Modified, loaded ? false : modified);
    if (!loaded) return;
    // The second test starts at PC 02.
    editor.Tests->LoadTest(1);
    QCOMPARE(owner.SysRegs.GetContents(0), 2);
    QCOMPARE(owner.Registers.GetContents(1), 0);
}

void TAsmTestsTest::InterruptingARun_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("progress");
    QTest::addColumn<QStringList>("rows");
    const QStringList stopped{"passed: first", "stopped: endless", "not run: after"};
    QTest::newRow("Stop") << "button"
                          << "Stopped after 1 of 3 tests" << stopped;
    QTest::newRow("Esc") << "esc"
                         << "Stopped after 1 of 3 tests" << stopped;
    // The results would be those of a program, or a test file, no longer there.
    QTest::newRow("test file changed")
        << "file"
        << "Stopped after 1 of 3 tests: the test file was changed" << stopped;
    QTest::newRow("typing") << "type"
                            << "Stopped after 1 of 3 tests: the text was changed" << stopped;
    // The run begins afresh; nothing of the first one is left or comes in later.
    QTest::newRow("Run Tests again")
        << "rerun"
        << "Running test 2 of 3: endless"
        << QStringList{"passed: first", "running: endless", "waiting: after"};
    // The window goes with the test still running, and nothing posted reaches it.
    QTest::newRow("closing the window") << "close" << QString() << QStringList();
}

void TAsmTestsTest::InterruptingARun() {
    QFETCH(QString, how);
    QFETCH(QString, progress);
    QFETCH(QStringList, rows);
    QTemporaryDir dir;
    WriteFile(dir.filePath("t.asm"), Source);
    WriteFile(dir.filePath("t.tests.toml"), EndlessTests);
    QPointer<TAssemblerEditor> editor = new TAssemblerEditor;
    QVERIFY(editor->LoadSourceFile(dir.filePath("t.asm")));
    editor->show();
    TAsmTests& tests = *editor->Tests;
    QListWidget& box = *tests.TestBox;
    const auto firstDone = [&] { return box.item(0)->text() == QStringLiteral("passed: first"); };
    tests.RunTestsClick();
    QTRY_VERIFY_WITH_TIMEOUT(firstDone(), 600'000);
    QCOMPARE(tests.TestProgress->ProgressBar->value(), 1);
    QCoreApplication::processEvents();  // lays the list out
    // The panel below the text has grown to show every row.
    QVERIFY(box.visualItemRect(box.item(2)).bottom() < box.viewport()->height());
    if (how == QLatin1String("close")) {
        QVERIFY(editor->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(editor.isNull());
        return;
    }
    if (how == QLatin1String("button")) {
        QTest::mouseClick(tests.TestProgress->StopTestsButton, Qt::LeftButton);
    } else if (how == QLatin1String("esc")) {
        QTest::keyClick(editor->TextEditor, Qt::Key_Escape);
    } else if (how == QLatin1String("file")) {
        WriteFile(dir.filePath("t.tests.toml"), EndlessTests);
        QTRY_VERIFY_WITH_TIMEOUT(!tests.Running(), 600'000);
    } else if (how == QLatin1String("type")) {
        QTest::keyClicks(editor->TextEditor, QStringLiteral("x"));
    } else {
        QTest::keyClick(editor->TextEditor, Qt::Key_T, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(firstDone(), 600'000);
    }
    QCOMPARE(Rows(box), rows);
    QCOMPARE(tests.TestProgress->ProgressLabel->text(), progress);
    const bool running = how == QLatin1String("rerun");
    QCOMPARE(tests.Running(), running);
    QCOMPARE(tests.MenuStopTests->isEnabled(), running);
    QCOMPARE(tests.TestProgress->StopTestsButton->isEnabled(), running);
    QVERIFY(!tests.TestProgress->isHidden());
    delete editor;
}

// The row of a random start loads the state its run started from: the same random bytes
// wherever the source placed nothing. A hidden test's row tells only that it failed.
void TAsmTestsTest::ARandomStartLoadsExactlyAsItRan() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("r.asm"), "addi R3,R1,R2\nhalt\n        org 80h\n        db 0\n");
    WriteFile(dir.filePath("r.tests.toml"), R"(fill = "random"
[[test]]
name = "zero R4"
seed = 3
registers = { R1 = 1 }
expect.registers = { R4 = 0x00 }
[[test]]
name = "secret"
hidden = true
seed = 3
expect.registers = { R4 = 0 }
)");
    TTestPrompt prompt;
    TMachineOwner owner;
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("r.asm")));
    editor.Tests->RunTestsClick();
    QListWidget* box = editor.Tests->TestBox;
    QCOMPARE(box->count(), 2);
    QTRY_VERIFY(!editor.Tests->Running());
    const auto random = RandomFill(3);
    QCOMPARE(box->item(0)->text(),
             QString::fromStdString("failed: zero R4: R4 is " + HexByte(random[4]) +
                                    ", expected 00; started from random values (seed 3)"));
    QCOMPARE(box->item(1)->text(), QStringLiteral("failed: secret"));
    editor.Tests->LoadTest(0);
    QCOMPARE(owner.Registers.GetContents(1), 1);
    for (int r : {0, 4, 15}) QCOMPARE(owner.Registers.GetContents(r), int(random[r]));
    QCOMPARE(owner.Memory.GetContents(0x00), 0x53);  // placed by the source
    QCOMPARE(owner.Memory.GetContents(0x80), 0);     // its db 0
    for (int a : {0x04, 0x7F, 0x81, 0xFF})
        QCOMPARE(owner.Memory.GetContents(a), int(random[16 + a]));
}

// The rows belong to the text they ran on: after an edit, loading a test runs them again on
// the text as it is, says so, and then loads the new program.
void TAsmTestsTest::LoadingAfterAnEditRunsTheTestsAgain() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), "addi R3,R1,R1\nhalt\n");  // wrong: R1 + R1
    WriteFile(dir.filePath("sum.tests.toml"), Tests);
    TTestPrompt prompt;
    TMachineOwner owner;
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("sum.asm")));
    TAsmTests& tests = *editor.Tests;
    tests.RunTestsClick();
    WaitForResults(tests);
    QCOMPARE(tests.TestSummary->text(), QStringLiteral("0 of 2 tests passed, 0 of 2 points"));
    editor.TextEditor->setPlainText(QString::fromLatin1(Source));  // addi R3,R1,R2
    tests.LoadTest(0);
    QCOMPARE(tests.TestSummary->text(),
             QStringLiteral(
                 "The text was changed since the tests ran: they run again, then \"5 + 10\" is "
                 "loaded."));
    QCOMPARE(owner.Writes, 0);
    WaitForResults(tests);
    QCOMPARE(tests.TestSummary->text(), QStringLiteral("1 of 2 tests passed, 1 of 2 points"));
    QCOMPARE(tests.TestBox->item(0)->text(), QStringLiteral("passed: 5 + 10"));
    QCOMPARE(owner.Memory.GetContents(1), 0x12);  // the new program's second byte
    QCOMPARE(owner.Registers.GetContents(2), 10);
    QVERIFY(prompt.Shown.isEmpty());
}

// The results take a growing share of the panel, which follows the window and the zoom; an
// empty error list takes none of it, and the assemble button keeps its caption under its
// picture.
void TAsmTestsTest::TheResultsShareThePanel() {
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), Source);
    WriteFile(dir.filePath("sum.tests.toml"), EndlessTests);
    TAssemblerEditor editor;
    QVERIFY(editor.LoadSourceFile(dir.filePath("sum.asm")));
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    TAsmTests& tests = *editor.Tests;
    QVERIFY(!editor.ErrorBox->isHidden());  // without results the list is the whole panel
    tests.RunTestsClick();
    QTRY_VERIFY_WITH_TIMEOUT(tests.TestBox->item(0)->text() == "passed: first", 600'000);
    tests.StopTestsClick();
    QVERIFY(editor.ErrorBox->isHidden());
    const auto allShown = [&] {
        QCoreApplication::processEvents();
        const QListWidget& box = *tests.TestBox;
        return box.visualItemRect(box.item(box.count() - 1)).bottom() < box.viewport()->height();
    };
    QTRY_VERIFY(allShown());
    const int panel = editor.BottomPanel->height();
    editor.resize(editor.width(), editor.height() + 200);
    QTRY_VERIFY(editor.BottomPanel->height() > panel);
    QCOMPARE(editor.AssembleButton->height(), editor.AssembleButton->sizeHint().height());
    SetZoomPercent(200);
    QTRY_VERIFY(allShown());  // the panel is laid out again after the zoom
    SetZoomPercent(100);
    // An error shares the panel with the results.
    QTest::keyClicks(editor.TextEditor, QStringLiteral("x"));
    editor.AssembleButtonClick();
    QVERIFY(!editor.ErrorBox->isHidden());
    QVERIFY(!tests.TestBox->isHidden());
}

QTEST_MAIN(TAsmTestsTest)
#include "asmtests_test.moc"
