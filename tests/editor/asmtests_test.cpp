// The editor's Tests menu: finding and opening a test file, running it on the text in the
// background without touching the machine, listing results and test-file errors, stopping a
// run, and loading a test's starting state into the machine after the question about
// unsaved memory.

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
#include <QtTest>

#include "core/hex.h"
#include "core/simulation.h"
#include "editor/asmedit.h"
#include "editor/asmtests.h"
#include "editor/testprogress.h"
#include "grading/testrun.h"
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
};

void TAsmTestsTest::NothingToRunWithoutATestFile() {
    // Captions and keys are checked with the editor's other entries.
    TAssemblerEditor editor;
    QCOMPARE(editor.Tests->TestBox->objectName(), QStringLiteral("TestBox"));
    QVERIFY(editor.Tests->TestBox->isHidden());
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
    QTest::keyClick(editor.TextEditor, Qt::Key_T, Qt::ControlModifier);
    WaitForResults(*editor.Tests);
    QListWidget* box = editor.Tests->TestBox;
    QVERIFY(!box->isHidden());
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->item(0)->text(), QStringLiteral("passed: 5 + 10"));
    QCOMPARE(box->item(0)->foreground().color(), QColor(0, 0x80, 0));
    QCOMPARE(box->item(1)->text(),
             QStringLiteral("failed: wrong: R3 is 00, expected 01; PC is 04, expected 06"));
    QCOMPARE(box->item(1)->foreground().color(), QColor(0xFF, 0, 0));
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
    QTest::addColumn<QStringList>("errors");  // "FILE" stands for the test file's path
    QTest::newRow("test file") << Source << "[[test]]\nname = \"a\"\nexpected = 1\n"
                               << QStringList{
                                      "FILE:1:1: test 'a' has no expectation ([test.expect])",
                                      "FILE:3:1: unknown key 'expected'; a test takes name, "
                                      "description, hidden, points, pc, max-steps, fill, seed, "
                                      "registers, memory, expect"};
    QTest::newRow("source") << "addi R3\n"
                            << Tests
                            << QStringList{"line 1: Unexpected end of line. Expected: ','",
                                           "line 1: Unexpected end of line. Expected: register"};
    QTest::newRow("both") << "halt R1\n"
                          << "x = [\n"
                          << QStringList{"line 1: Extra characters on line. Expected: nothing",
                                         "FILE:1:7: Error while parsing array: encountered "
                                         "end-of-file"};
}

void TAsmTestsTest::MistakesGoToTheErrorList() {
    QFETCH(QString, source);
    QFETCH(QString, tests);
    QFETCH(QStringList, errors);
    QTemporaryDir dir;
    const QString file = dir.filePath("t.tests.toml");
    WriteFile(file, tests.toUtf8().constData());
    WriteFile(dir.filePath("t.asm"), source.toUtf8().constData());
    TTestPrompt prompt;
    TMachineOwner owner;
    TAssemblerEditor editor(&owner.Sim);
    QVERIFY(editor.LoadSourceFile(dir.filePath("t.asm")));
    editor.Tests->RunTestsClick();
    QStringList listed;
    for (int i = 0; i < editor.ErrorBox->count(); ++i) listed << editor.ErrorBox->item(i)->text();
    QCOMPARE(listed, errors.replaceInStrings(QStringLiteral("FILE"), file));
    QVERIFY(editor.Tests->TestBox->isHidden());
    QVERIFY(editor.ErrorsMenu->isEnabled());
    // Visiting a test-file error leaves the caret where it was.
    QTextCursor cursor = editor.TextEditor->textCursor();
    cursor.setPosition(3);
    editor.TextEditor->setTextCursor(cursor);
    editor.GoToError(editor.ErrorBox->count() - 1);
    QCOMPARE(editor.ErrorBox->currentRow(), editor.ErrorBox->count() - 1);
    if (listed.back().startsWith(file)) QCOMPARE(editor.TextEditor->textCursor().position(), 3);
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
    QTest::newRow("memory unmodified") << false << int(TAnswer::Cancel) << true;
    QTest::newRow("cancel") << true << int(TAnswer::Cancel) << false;
    QTest::newRow("no") << true << int(TAnswer::No) << true;
}

void TAsmTestsTest::DoubleClickLoadsTheStartingState() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, loaded);
    QTemporaryDir dir;
    WriteFile(dir.filePath("sum.asm"), Source);
    WriteFile(dir.filePath("sum.tests.toml"), Tests);
    TTestPrompt prompt;
    TMachineOwner owner;
    owner.Memory.SetContents(0x80, 0x77);
    owner.Registers.SetContents(4, 0x44);
    owner.SysRegs.SetContents(0, 0x30);
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
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, row.center());
    QCOMPARE(prompt.Shown.size(), modified ? 1 : 0);
    QCOMPARE(owner.Memory.GetContents(0), loaded ? 0x53 : 0);
    QCOMPARE(owner.Memory.GetContents(0x80), loaded ? 1 : 0x77);
    QCOMPARE(owner.Memory.GetContents(0x81), loaded ? 2 : 0);
    QCOMPARE(owner.Registers.GetContents(1), loaded ? 5 : 0);
    QCOMPARE(owner.Registers.GetContents(4), loaded ? 0 : 0x44);
    QCOMPARE(owner.SysRegs.GetContents(0), loaded ? 0 : 0x30);
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
expect.registers = { R4 = 0 }
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

QTEST_MAIN(TAsmTestsTest)
#include "asmtests_test.moc"
