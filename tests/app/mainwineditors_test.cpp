// Editors opened from the real main window: the Asm button, Open with the assembly
// filter, Assemble into main memory, and the main window's close query asking editors.

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "app/asmeditors.h"
#include "app/mainwin.h"
#include "editor/asmedit.h"
#include "gui/processvalues.h"
#include "helpviewers.h"
#include "testprompt.h"
#include "toplevel.h"

namespace {

const QString ExitQuestion =
    QStringLiteral("Save?|Assembly File Changed.\nDo you want to save before you exit?");

struct TProgram {
    TMainWin Main;
    QList<int> PcWrites;
    TProgram() {
        InstallAssemblerEditors(Main);
        Main.show();
        // Record the program counter's writes, and keep the window's own handling of them.
        CellStore& sysRegs = Main.Simulation().Stores().SysRegs;
        sysRegs.OnCellChanged = [this, own = sysRegs.OnCellChanged](CellStore* sender, int index,
                                                                    int oldValue, int newValue) {
            if (index == 0) PcWrites << newValue;
            if (own) own(sender, index, oldValue, newValue);
        };
    }
    TAssemblerEditor* NewEditor(const QString& text = QString()) {
        Main.AssemblerButton->click();
        TAssemblerEditor* editor = AssemblerEditor();
        if (!text.isEmpty()) editor->TextEditor->setPlainText(text);
        return editor;
    }
    int Memory(int address) { return Main.Simulation().Stores().MainMemory.GetContents(address); }
};

}  // namespace

class TMainWinEditorsTest : public QObject {
    Q_OBJECT
private slots:
    void HelpEntriesOpenTheirTopic_data();
    void HelpEntriesOpenTheirTopic();
    void AsmButtonOpensAnotherEditorEachTime();
    void OpenWithTheAssemblyFilterLoadsIntoANewEditor();
    void AssembleIntoMainMemory();
    void YesThenCancelledSaveLeavesMemory();
    void ExecutingDataIsNotedInTheStatusBar();
    void ClosingAsksEditorsNewestFirst_data();
    void ClosingAsksEditorsNewestFirst();
};

void TMainWinEditorsTest::ExecutingDataIsNotedInTheStatusBar() {
    TTestPrompt prompt;
    TProgram program;
    program.Main.SetMemModified(false);
    TAssemblerEditor* editor = program.NewEditor(QStringLiteral("load R1,1\ndb 0C0h,0"));
    editor->AssembleButtonClick();
    QCOMPARE(program.Memory(2), 0xC0);
    const QLabel* note = program.Main.NotePanel;
    const struct {
        QString text;  // empty: no note shown
    } steps[] = {{}, {QStringLiteral("executing data at 02: db placed these bytes (line 2)")}, {}};
    for (const auto& step : steps) {
        program.Main.StepButton->click();
        QCOMPARE(note->isVisible(), !step.text.isEmpty());
        QCOMPARE(note->text(), step.text);
    }
}

void TMainWinEditorsTest::AsmButtonOpensAnotherEditorEachTime() {
    TProgram program;
    QVERIFY(program.Main.AssemblerButton->isEnabled());
    TAssemblerEditor* first = program.NewEditor();
    TAssemblerEditor* second = program.NewEditor();
    QVERIFY(first && second && first != second);
    QCOMPARE(AssemblerEditor(), second);
    QVERIFY(first->isVisible() && second->isVisible());
    QVERIFY(second->isWindow());
    QVERIFY(second->TextEditor->toPlainText().isEmpty());
}

void TMainWinEditorsTest::OpenWithTheAssemblyFilterLoadsIntoANewEditor() {
    TTestPrompt prompt;
    TProgram program;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("x.prg"));  // the filter decides, not the name
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("halt\r\n");
    file.close();
    program.Main.Simulation().Stores().MainMemory.SetContents(3, 0x33);
    program.Main.SetMemModified(false);  // no question before the dialog
    prompt.FileNames.push_back(name);
    prompt.Filters.push_back(QStringLiteral("Assembly Files (*.asm)"));
    program.Main.OpenFileClick();
    QCOMPARE(prompt.Requests.size(), 1);
    QVERIFY(prompt.Requests.front().Filters.contains(QStringLiteral("Assembly Files (*.asm)")));
    TAssemblerEditor* editor = AssemblerEditor();
    QVERIFY(editor);
    QCOMPARE(editor->FileName(), name);
    QCOMPARE(editor->TextEditor->toPlainText(), QStringLiteral("halt\n"));
    QCOMPARE(program.Memory(3), 0x33);
    QVERIFY(program.PcWrites.isEmpty());
}

void TMainWinEditorsTest::AssembleIntoMainMemory() {
    TTestPrompt prompt;
    TProgram program;
    program.Main.Simulation().Stores().MainMemory.SetContents(5, 0x99);
    program.Main.Simulation().Stores().SysRegs.SetContents(0, 0x30);
    program.PcWrites.clear();
    QVERIFY(program.Main.MemModified());
    TAssemblerEditor* editor = program.NewEditor(QStringLiteral("org 10h\nload R1,5\nhalt"));
    prompt.Answers.push_back(TAnswer::No);
    editor->AssembleButtonClick();
    QCOMPARE(prompt.Shown,
             QStringList{QStringLiteral(
                 "Save?|Memory Changed.\nDo you want to save before you overwrite the memory?")});
    QCOMPARE(program.Memory(0x10), 0x21);
    QCOMPARE(program.Memory(0x11), 0x05);
    QCOMPARE(program.Memory(0x12), 0xC0);
    QCOMPARE(program.Memory(5), 0);
    QCOMPARE(program.PcWrites, (QList<int>{2, 0}));
    QVERIFY(!program.Main.MemModified());
    QCOMPARE(program.Main.PanelText(1), QString());
    QVERIFY(!editor->ErrorsMenu->isEnabled());
}

void TMainWinEditorsTest::YesThenCancelledSaveLeavesMemory() {
    TTestPrompt prompt;
    TProgram program;
    program.Main.Simulation().Stores().MainMemory.SetContents(5, 0x99);
    program.PcWrites.clear();
    TAssemblerEditor* editor = program.NewEditor(QStringLiteral("halt"));
    editor->ErrorsMenu->setEnabled(true);
    prompt.Answers.push_back(TAnswer::Yes);  // and the save dialog is cancelled
    editor->AssembleButtonClick();
    QCOMPARE(prompt.Requests.size(), 1);  // the main window's save dialog
    QCOMPARE(program.Memory(5), 0x99);
    QCOMPARE(program.Memory(0), 0);
    QVERIFY(program.PcWrites.isEmpty());
    QVERIFY(program.Main.MemModified());
    QVERIFY(!editor->ErrorsMenu->isEnabled());
}

void TMainWinEditorsTest::ClosingAsksEditorsNewestFirst_data() {
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel stops the rest") << QList<int>{int(TAnswer::Cancel)} << 1 << false;
    QTest::newRow("yes saves the newest, then cancel")
        << QList<int>{int(TAnswer::Yes), int(TAnswer::Cancel)} << 2 << false;
    QTest::newRow("no to both") << QList<int>{int(TAnswer::No), int(TAnswer::No)} << 2 << true;
}

void TMainWinEditorsTest::ClosingAsksEditorsNewestFirst() {
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    QFETCH(bool, closes);
    TTestPrompt prompt;
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("newest.asm"));
    TProgram program;
    TAssemblerEditor* oldest = program.NewEditor(QStringLiteral("halt ; oldest"));
    TAssemblerEditor* newest = program.NewEditor(QStringLiteral("halt ; newest"));
    for (int answer : answers) prompt.Answers.push_back(TAnswer(answer));
    prompt.FileNames.push_back(saved);
    QCOMPARE(program.Main.close(), closes);
    QCOMPARE(prompt.Shown.count(ExitQuestion), questions);
    QCOMPARE(prompt.Shown.size(), questions);  // memory was not modified: no question about it
    QCOMPARE(program.Main.isVisible(), !closes);
    if (answers.front() == int(TAnswer::Yes)) {
        QCOMPARE(newest->FileName(), saved);  // the newest editor was asked first
        QVERIFY(!newest->FileModified());
        QVERIFY(oldest->FileModified());
    }
    if (!closes) QVERIFY(oldest->isVisible() && newest->isVisible());
}

void TMainWinEditorsTest::HelpEntriesOpenTheirTopic_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("title");
    QTest::newRow("instructions") << "MenuHelpInstructions" << 601
                                  << "Quarzel Simulator instructions:";
    QTest::newRow("syntax") << "MenuHelpSyntax" << 602 << "Quarzel Assembler syntax";
}

void TMainWinEditorsTest::HelpEntriesOpenTheirTopic() {
    QFETCH(QString, entry);
    QFETCH(QString, title);
    TAssemblerEditor editor;
    QAction* action = editor.findChild<QAction*>(entry);
    QVERIFY(action);
    QTEST(action->property("helpContext").toInt(), "context");
    QVERIFY(editor.HelpMenu->actions().contains(action));
    action->trigger();
    THelpDialog* viewer = OnlyTopLevelWindow<THelpDialog>("HelpDialog");
    QVERIFY(viewer);
    QVERIFY(viewer->HelpText->toPlainText().startsWith(title));
    delete viewer;
}

QTEST_MAIN(TMainWinEditorsTest)
#include "mainwineditors_test.moc"
