// The editor window's own behaviour: creation, status bar panels, keys, menu shortcuts.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "editor/asmedit.h"
#include "testprompt.h"

namespace {

// A shown editor whose text control has the focus, as it is when the user types.
struct TShownEditor {
    QPointer<TAssemblerEditor> Editor = new TAssemblerEditor;
    TShownEditor() {
        Editor->show();
        QApplication::setActiveWindow(Editor);
        Editor->TextEditor->setFocus();
    }
    ~TShownEditor() { delete Editor; }
    TAssemblerEditor* operator->() const { return Editor; }
    void Type(const QString& text) const {
        for (const QChar c : text) {
            if (c == QLatin1Char('\n'))
                QTest::keyClick(Editor->TextEditor, Qt::Key_Return);
            else if (c == QLatin1Char('\t'))
                QTest::keyClick(Editor->TextEditor, Qt::Key_Tab);
            else
                QTest::keyClicks(Editor->TextEditor, QString(c));
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) const {
        QTest::keyClick(Editor->TextEditor, key, mods);
    }
    QString Text() const { return Editor->TextEditor->toPlainText(); }
    void Place(int position, int anchor = -1) const {
        QTextCursor cursor = Editor->TextEditor->textCursor();
        cursor.setPosition(anchor < 0 ? position : anchor);
        if (anchor >= 0) cursor.setPosition(position, QTextCursor::KeepAnchor);
        Editor->TextEditor->setTextCursor(cursor);
    }
};

}  // namespace

class TAssemblerEditorTest : public QObject {
    Q_OBJECT
private slots:
    void NewEditorState();
    void ControlsCarryTheirFieldNames();
    void NewestEditorIsAssemblerEditor();
    void CaretPanelCountsFromOne();
    void InsertKeyTogglesMode();
    void SelectAllMovesTheCaretPanel();
    void OverwriteKeystrokeIsOneUndoStep_data();
    void OverwriteKeystrokeIsOneUndoStep();
    void TypingMarksModifiedOnce();
    void CtrlYDeletesTheCaretLine_data();
    void CtrlYDeletesTheCaretLine();
    void MenuKeys_data();
    void MenuKeys();
    void HiddenUndoStillWorks();
    void ClipboardKeysOfTheTextControl();
    void EditMenuStatesFollowSelectionAndClipboard();
    void SelectionVisibleWithoutFocus();
    void MenuBarTitlesInOrder();
    void MenuEntries_data();
    void MenuEntries();
    void PanesByKeyboard();
};

void TAssemblerEditorTest::NewEditorState() {
    TAssemblerEditor editor;
    QCOMPARE(editor.windowTitle(), QStringLiteral("Quarzel Assembler"));
    QCOMPARE(editor.size(), QSize(562, 451));
    QCOMPARE(editor.PanelText(0), QStringLiteral("1: 1  "));
    QCOMPARE(editor.PanelText(1), QString());
    QCOMPARE(editor.PanelText(2), QStringLiteral("Insert"));
    QVERIFY(editor.FileName().isEmpty());
    QVERIFY(!editor.FileModified());
    QVERIFY(editor.InsertMode());
    QVERIFY(!editor.MenuSaveFile->isEnabled());
    QVERIFY(!editor.ErrorsMenu->isEnabled());
    QVERIFY(editor.MenuUseSyntaxHighlight->isChecked());
    QVERIFY(!editor.EditMenu->actions().contains(editor.MenuUndo));
    QCOMPARE(editor.ErrorBox->count(), 0);
    QVERIFY(editor.TextEditor->toPlainText().isEmpty());
    QCOMPARE(editor.TextEditor->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(editor.TextEditor->font().fixedPitch());
    QVERIFY(!editor.TextEditor->tabChangesFocus());
    QCOMPARE(editor.AssembleButton->text(), QStringLiteral("assemble"));
    QCOMPARE(editor.AssembleButton->toolTip(), QStringLiteral("Assemble source file"));
}

void TAssemblerEditorTest::ControlsCarryTheirFieldNames() {
    TAssemblerEditor editor;
    for (const char* name : {"TextEditor", "BottomSplitter", "BottomPanel", "ErrorBox",
                             "AssembleButton", "EditorStatusBar", "AsmMainMenu", "TestBox",
                             "TestProgress", "ProgressLabel", "ProgressBar", "StopTestsButton"})
        QVERIFY2(editor.findChild<QWidget*>(QLatin1String(name)), name);
    for (const char* name :
         {"MenuOpenFile", "MenuSaveFile", "MenuSaveAsFile", "MenuPrint", "MenuExitFile", "MenuUndo",
          "MenuCut", "MenuCopy", "MenuPaste", "MenuSelectAll", "MenuUseSyntaxHighlight",
          "MenuAssemble", "MenuNextError", "MenuPreviousError"})
        QVERIFY2(editor.findChild<QAction*>(QLatin1String(name)), name);
}

void TAssemblerEditorTest::NewestEditorIsAssemblerEditor() {
    QCOMPARE(AssemblerEditor(), nullptr);
    auto first = std::make_unique<TAssemblerEditor>();
    auto second = std::make_unique<TAssemblerEditor>();
    QCOMPARE(AssemblerEditor(), second.get());
    second.reset();
    QCOMPARE(AssemblerEditor(), first.get());
    first.reset();
    QCOMPARE(AssemblerEditor(), nullptr);
}

void TAssemblerEditorTest::CaretPanelCountsFromOne() {
    TShownEditor editor;
    editor.Type(QStringLiteral("halt\n\tload"));
    QCOMPARE(editor->PanelText(0), QStringLiteral("2: 6  "));
    editor.Place(2);
    QCOMPARE(editor->PanelText(0), QStringLiteral("1: 3  "));
}

void TAssemblerEditorTest::InsertKeyTogglesMode() {
    TShownEditor editor;
    editor.Type(QStringLiteral("abc"));
    editor.Place(0);
    const char* expected[] = {"Overwrite", "Insert", "Overwrite"};
    for (const char* panel : expected) {
        editor.Key(Qt::Key_Insert);
        QCOMPARE(editor->PanelText(2), QLatin1String(panel));
        QCOMPARE(editor->InsertMode(), QLatin1String(panel) == QLatin1String("Insert"));
    }
    // Three presses leave overwrite mode, and typing really overwrites.
    editor.Type(QStringLiteral("x"));
    QCOMPARE(editor.Text(), QStringLiteral("xbc"));
    // Insert with Alt is no command and leaves the mode alone.
    editor.Key(Qt::Key_Insert, Qt::AltModifier);
    QCOMPARE(editor->PanelText(2), QStringLiteral("Overwrite"));
}

void TAssemblerEditorTest::SelectAllMovesTheCaretPanel() {
    TShownEditor shown;
    shown->TextEditor->setPlainText(QStringLiteral("halt\nload R1,2"));
    shown.Place(0);
    shown->MenuSelectAll->trigger();
    QVERIFY(shown->TextEditor->textCursor().hasSelection());
    QCOMPARE(shown->PanelText(0), QStringLiteral("2: 10  "));
}

void TAssemblerEditorTest::OverwriteKeystrokeIsOneUndoStep_data() {
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("anchor");  // -1: no selection
    QTest::addColumn<QString>("typed");
    QTest::newRow("inside a line") << 1 << -1 << QStringLiteral("ZXop\nmov");
    QTest::newRow("at a line end") << 4 << -1 << QStringLiteral("ZoopX\nmov");
    QTest::newRow("at the text end") << 8 << -1 << QStringLiteral("Zoop\nmovX");
    QTest::newRow("over a selection") << 3 << 1 << QStringLiteral("ZXp\nmov");
}

void TAssemblerEditorTest::OverwriteKeystrokeIsOneUndoStep() {
    QFETCH(int, position);
    QFETCH(int, anchor);
    QFETCH(QString, typed);
    TShownEditor shown;
    shown->TextEditor->setPlainText(QStringLiteral("Zoop\nmov"));
    shown.Key(Qt::Key_Insert);
    QCOMPARE(shown->PanelText(2), QStringLiteral("Overwrite"));
    shown.Place(position, anchor);
    shown.Type(QStringLiteral("X"));
    QCOMPARE(shown.Text(), typed);
    shown->TextEditor->undo();
    QCOMPARE(shown.Text(), QStringLiteral("Zoop\nmov"));
}

void TAssemblerEditorTest::TypingMarksModifiedOnce() {
    TShownEditor editor;
    editor.Type(QStringLiteral("h"));
    QVERIFY(editor->FileModified());
    QCOMPARE(editor->PanelText(1), QStringLiteral("Modified"));
    QVERIFY(editor->MenuSaveFile->isEnabled());
    editor->SetFileModified(false);
    QCOMPARE(editor->PanelText(1), QString());
    QVERIFY(!editor->MenuSaveFile->isEnabled());
    // Any edit marks it again, also one that undoes the earlier edit.
    editor->MenuUndoClick();
    QVERIFY(editor->FileModified());
}

void TAssemblerEditorTest::CtrlYDeletesTheCaretLine_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first") << "a\nbb\nc" << 0 << "bb\nc";
    QTest::newRow("middle") << "a\nbb\nc" << 3 << "a\nc";
    QTest::newRow("last") << "a\nbb\nc" << 6 << "a\nbb";
    QTest::newRow("empty last") << "a\n" << 2 << "a";
    QTest::newRow("only line") << "halt" << 2 << "";
}

void TAssemblerEditorTest::CtrlYDeletesTheCaretLine() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    TShownEditor editor;
    editor->TextEditor->setPlainText(text);
    editor->SetFileModified(false);
    editor.Place(caret);
    editor.Key(Qt::Key_Y, Qt::ControlModifier);
    QTEST(editor.Text(), "expected");
    QVERIFY(editor->FileModified());
}

// A menu key acts as choosing its entry: only when the entry and its menu are enabled,
// and the text control never sees the key either way.
void TAssemblerEditorTest::MenuKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedClipboard");
    QTest::newRow("Ctrl+X without selection") << int(Qt::Key_X) << "load"
                                              << "keep";
    QTest::newRow("Ctrl+C without selection") << int(Qt::Key_C) << "load"
                                              << "keep";
    QTest::newRow("Ctrl+S while unmodified") << int(Qt::Key_S) << "load"
                                             << "keep";
    QTest::newRow("Ctrl+N while Errors is off") << int(Qt::Key_N) << "load"
                                                << "keep";
    QTest::newRow("Ctrl+P while Errors is off") << int(Qt::Key_P) << "load"
                                                << "keep";
    QTest::newRow("Ctrl+V pastes") << int(Qt::Key_V) << "lokeepad"
                                   << "keep";
    QTest::newRow("Ctrl+A then typing replaces all") << int(Qt::Key_A) << "z"
                                                     << "keep";
}

void TAssemblerEditorTest::MenuKeys() {
    QFETCH(int, key);
    TTestPrompt prompt;
    TShownEditor editor;
    editor->TextEditor->setPlainText(QStringLiteral("load"));
    editor->SetFileModified(false);
    editor.Place(2);
    QApplication::clipboard()->setText(QStringLiteral("keep"));
    editor.Key(Qt::Key(key), Qt::ControlModifier);
    if (key == Qt::Key_A) editor.Type(QStringLiteral("z"));
    QTEST(editor.Text(), "expectedText");
    QTEST(QApplication::clipboard()->text(), "expectedClipboard");
    QVERIFY(prompt.Requests.isEmpty());
    QCOMPARE(editor->FileModified(), editor.Text() != QStringLiteral("load"));
}

void TAssemblerEditorTest::HiddenUndoStillWorks() {
    TShownEditor editor;
    editor.Type(QStringLiteral("halt"));
    editor.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.Text(), QString());
}

void TAssemblerEditorTest::ClipboardKeysOfTheTextControl() {
    TShownEditor editor;
    editor->TextEditor->setPlainText(QStringLiteral("load R1"));
    editor->SetFileModified(false);
    editor.Place(4, 0);
    editor.Key(Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("load"));
    QVERIFY(!editor->FileModified());
    editor.Key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(editor.Text(), QStringLiteral(" R1"));
    QVERIFY(editor->FileModified());
    editor.Place(3);
    editor.Key(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(editor.Text(), QStringLiteral(" R1load"));
    // Shift+Delete with nothing selected cuts nothing and keeps the clipboard.
    editor->SetFileModified(false);
    editor.Key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(editor.Text(), QStringLiteral(" R1load"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("load"));
    QVERIFY(!editor->FileModified());
    // Plain Delete still deletes.
    editor.Place(0);
    editor.Key(Qt::Key_Delete);
    QCOMPARE(editor.Text(), QStringLiteral("R1load"));
}

void TAssemblerEditorTest::EditMenuStatesFollowSelectionAndClipboard() {
    TShownEditor editor;
    editor->TextEditor->setPlainText(QStringLiteral("halt"));
    QApplication::clipboard()->clear();
    editor->EditMenuClick();
    QVERIFY(!editor->MenuCut->isEnabled());
    QVERIFY(!editor->MenuCopy->isEnabled());
    QVERIFY(!editor->MenuPaste->isEnabled());
    editor.Place(2, 0);
    QApplication::clipboard()->setText(QStringLiteral("x"));
    editor->EditMenuClick();
    QVERIFY(editor->MenuCut->isEnabled());
    QVERIFY(editor->MenuCopy->isEnabled());
    QVERIFY(editor->MenuPaste->isEnabled());
}

void TAssemblerEditorTest::SelectionVisibleWithoutFocus() {
    TAssemblerEditor editor;
    const QPalette palette = editor.TextEditor->palette();
    QCOMPARE(palette.color(QPalette::Inactive, QPalette::Highlight),
             palette.color(QPalette::Active, QPalette::Highlight));
}

void TAssemblerEditorTest::MenuBarTitlesInOrder() {
    TAssemblerEditor editor;
    QStringList titles;
    for (const QAction* item : editor.AsmMainMenu->actions()) titles << item->text();
    QCOMPARE(titles, QStringList({QStringLiteral("&File"), QStringLiteral("&Edit"),
                                  QStringLiteral("&Assemble"), QStringLiteral("E&rrors"),
                                  QStringLiteral("&Debug"), QStringLiteral("&Tests"),
                                  QStringLiteral("&Help")}));
}

void TAssemblerEditorTest::MenuEntries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("menu");  // empty: an item of the menu bar itself
    QTest::addColumn<int>("place");     // position among the menu's visible entries
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("key");
    const QKeySequence none;
    QTest::newRow("open") << "MenuOpenFile"
                          << "FileMenu" << 0 << "&Open..." << QKeySequence(Qt::CTRL | Qt::Key_O);
    QTest::newRow("save") << "MenuSaveFile"
                          << "FileMenu" << 1 << "&Save" << QKeySequence(Qt::CTRL | Qt::Key_S);
    QTest::newRow("save as") << "MenuSaveAsFile"
                             << "FileMenu" << 2 << "Save &As..." << none;
    QTest::newRow("print") << "MenuPrint"
                           << "FileMenu" << 3 << "&Print..." << none;
    QTest::newRow("exit") << "MenuExitFile"
                          << "FileMenu" << 4 << "E&xit" << none;
    QTest::newRow("undo") << "MenuUndo"
                          << "EditMenu" << -1 << "&Undo" << QKeySequence(Qt::CTRL | Qt::Key_Z);
    QTest::newRow("cut") << "MenuCut"
                         << "EditMenu" << 0 << "Cu&t" << QKeySequence(Qt::CTRL | Qt::Key_X);
    QTest::newRow("copy") << "MenuCopy"
                          << "EditMenu" << 1 << "&Copy" << QKeySequence(Qt::CTRL | Qt::Key_C);
    QTest::newRow("paste") << "MenuPaste"
                           << "EditMenu" << 2 << "&Paste" << QKeySequence(Qt::CTRL | Qt::Key_V);
    QTest::newRow("select all") << "MenuSelectAll"
                                << "EditMenu" << 3 << "Select &All"
                                << QKeySequence(Qt::CTRL | Qt::Key_A);
    QTest::newRow("highlight") << "MenuUseSyntaxHighlight"
                               << "EditMenu" << 4 << "Use Syntaxhighlight" << none;
    QTest::newRow("assemble") << "MenuAssemble"
                              << "" << 2 << "&Assemble" << QKeySequence(Qt::CTRL | Qt::Key_F9);
    QTest::newRow("next") << "MenuNextError"
                          << "ErrorsMenu" << 0 << "&Next" << QKeySequence(Qt::CTRL | Qt::Key_N);
    QTest::newRow("previous") << "MenuPreviousError"
                              << "ErrorsMenu" << 1 << "&Previous"
                              << QKeySequence(Qt::CTRL | Qt::Key_P);
    QTest::newRow("open tests") << "MenuOpenTests"
                                << "TestsMenu" << 0 << "&Open Tests..." << none;
    QTest::newRow("run tests") << "MenuRunTests"
                               << "TestsMenu" << 1 << "&Run Tests"
                               << QKeySequence(Qt::CTRL | Qt::Key_T);
    QTest::newRow("stop tests") << "MenuStopTests"
                                << "TestsMenu" << 2 << "&Stop Tests"
                                << QKeySequence(Qt::Key_Escape);
    QTest::newRow("instructions") << "MenuHelpInstructions"
                                  << "HelpMenu" << 0 << "&Instructions" << none;
    QTest::newRow("syntax") << "MenuHelpSyntax"
                            << "HelpMenu" << 1 << "&Syntax" << none;
}

// Each entry's caption and key, and where it stands; Undo works by its key but is not shown.
void TAssemblerEditorTest::MenuEntries() {
    QFETCH(QString, entry);
    QFETCH(QString, menu);
    QFETCH(int, place);
    TAssemblerEditor editor;
    const QAction* action = editor.findChild<QAction*>(entry);
    QVERIFY(action);
    QTEST(action->text(), "caption");
    QTEST(action->shortcut(), "key");
    QList<QAction*> shown;
    if (menu.isEmpty()) {
        shown = editor.AsmMainMenu->actions();
    } else {
        const QMenu* owner = editor.findChild<QMenu*>(menu);
        QVERIFY(owner);
        for (QAction* item : owner->actions())
            if (item->isVisible() && !item->isSeparator()) shown << item;
    }
    QCOMPARE(shown.indexOf(action), place);
}

QTEST_MAIN(TAssemblerEditorTest)
#include "asmedit_test.moc"

// F6 and Shift+F6 go round the shown panes, which a screen reader knows by name; Ctrl+Alt+Up
// and Down move the splitter above the lists.
void TAssemblerEditorTest::PanesByKeyboard() {
    TShownEditor editor;
    QSplitter* splitter = editor->BottomSplitter;
    const QList<int> before = splitter->sizes();
    editor.Key(Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
    QVERIFY(splitter->sizes()[0] > before[0]);
    editor.Key(Qt::Key_Up, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(splitter->sizes(), before);

    struct {
        bool testsShown;
        Qt::KeyboardModifiers mods;
        const char* spoken;  // the pane's name, as a screen reader hears it
    } const steps[] = {
        {false, Qt::NoModifier, "Errors"},    {false, Qt::NoModifier, "Source"},
        {false, Qt::ShiftModifier, "Errors"}, {true, Qt::NoModifier, "Test results"},
        {true, Qt::NoModifier, "Source"},     {true, Qt::ShiftModifier, "Test results"},
    };
    for (const auto& step : steps) {
        editor->findChild<QWidget*>("TestBox")->setVisible(step.testsShown);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, step.mods);
        QCOMPARE(QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                     ->text(QAccessible::Name),
                 QString(step.spoken));
    }
}
