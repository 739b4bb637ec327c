#pragma once
// The assembler editor: one window per source file, with live syntax highlighting,
// loading and saving, printing, Assemble into the main window's memory and a list of the
// assembler's errors that the user steps through. Any number may be open at once.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "editor/sourceedit.h"
#include "gui/debugcommands.h"

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QToolButton;
class QVBoxLayout;
class TAsmHighlighter;
class TAsmHints;
class TAsmParser;
class TAsmTests;
class TEditorTextSource;
class TSimulation;
struct TProgramLoad;
class TMenuKeys;
class TSourceFollower;

class TAssemblerEditor : public QMainWindow {
    Q_OBJECT
public:
    // A new, empty, unnamed editor; it destroys itself when closed. Assembled code goes
    // into the simulation's memory (nowhere without one).
    explicit TAssemblerEditor(TSimulation* simulation = nullptr, QWidget* parent = nullptr);
    ~TAssemblerEditor() override;

    // Controls (objectName = field name).
    TSourceEdit* TextEditor;
    QSplitter* BottomSplitter;
    QWidget* BottomPanel;
    QListWidget* ErrorBox;
    QToolButton* AssembleButton;
    QStatusBar* EditorStatusBar;
    QMenuBar* AsmMainMenu;
    TAsmTests* Tests;  // the Tests menu and the list of test results
    TAsmHints* Hints;  // the assembler's warnings, under the errors

    // Menus and their entries.
    QMenu* FileMenu;
    QMenu* EditMenu;
    QMenu* ErrorsMenu;
    QMenu* DebugMenu;
    QMenu* HelpMenu;
    QAction* MenuOpenFile;
    QAction* MenuSaveFile;
    QAction* MenuSaveAsFile;
    QAction* MenuPrint;
    QAction* MenuExitFile;
    QAction* MenuUndo;
    QAction* MenuCut;
    QAction* MenuCopy;
    QAction* MenuPaste;
    QAction* MenuSelectAll;
    QAction* MenuUseSyntaxHighlight;
    QAction* MenuAssemble;
    QAction* MenuNextError;
    QAction* MenuPreviousError;
    QAction* MenuToggleBreakpoint;
    QAction* MenuRunToCursor;
    QAction* MenuRemoveAllBreakpoints;
    QAction* MenuHelpInstructions;
    QAction* MenuHelpSyntax;

    const QString& FileName() const { return FileName_; }
    bool FileModified() const { return FileModified_; }
    bool InsertMode() const { return InsertMode_; }
    // Texts of the status bar panels: caret position, modified mark, insert mode, and
    // whether the text changed since its program went into memory.
    QString PanelText(int panel) const;

    // The main window's commands join the Debug menu, their keys working here too.
    void SetSteering(const TDebugSteering& steering);

    // Loads a file into the editor; on failure tells the user and changes nothing.
    bool LoadSourceFile(const QString& name);
    // Writes the text to name; on failure tells the user and changes nothing else.
    bool WriteSourceFile(const QString& name);

    void SetFileModified(bool flag);
    void SetInsertMode(bool flag);
    void GoToError(int index);
    // Puts the caret at a 0-based line and column of the text as it was assembled (past
    // the end of the text: at its end) and gives the text the focus.
    void PlaceCaret(int line, int column);
    // Re-styles the whole text, or shows it all in the Normal style when highlighting
    // is off. Caret and selection stay where they are.
    void ReformatAll();

    // Asks about unsaved text; true when the window may close.
    bool FormCloseQuery();

    // Menu and button handlers.
    void OpenFileClick();
    void SaveFile();
    void SaveAsFile();
    void MenuPrintClick();
    void MenuExitFileClick();
    void EditMenuClick();
    void MenuUndoClick();
    void MenuCutClick();
    void MenuCopyClick();
    void MenuPasteClick();
    void MenuSelectAllClick();
    void MenuUseSyntaxHighlightClick();
    void AssembleButtonClick();
    void NextErrorClick();
    void PreviousErrorClick();
    void HelpMenuItemClick(QAction* entry);
    void ToggleBreakpointClick();  // on the caret's line
    void RunToCursorClick();       // to the caret's line
    void RemoveAllBreakpoints();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TAsmTests;
    friend class TAsmHints;

    void BuildControls();
    void ApplyTheme();  // the selection's colours and the styled text anew
    void BuildMenus();
    void BuildDebugMenu();
    QAction* AddDebugEntry(TDebugCommand command, void (TAssemblerEditor::*handler)());
    // The gutter's breakpoints, the Debug menu and the PC mark, which need a target.
    void SetUpFollower(TSimulation* simulation);
    void ShowFollowerState();
    QAction* AddEntry(QMenu* menu, const QString& caption, const QKeySequence& key,
                      void (TAssemblerEditor::*handler)());
    void SetCaption(const QString& name);
    QString ReferenceName() const;

    // Keys of the text control that this window handles itself; true when consumed.
    bool TextEditorKeyDown(const QKeyEvent& event);
    bool TypeOverwriting(const QKeyEvent& event);
    void DeleteCaretLine();
    void TextEditorSelectionChange();
    void TextEditorChange();
    // Whatever changed the text: what followed or tested the old one is out of date.
    void TextEdited();
    void ErrorBoxMouseUp(const QMouseEvent& event);
    bool ErrorBoxMouseIgnored(const QMouseEvent& event);
    bool ErrorBoxKeyPress(const QKeyEvent& event);
    void AddError(int line, int column, std::string_view message);
    // A message about something other than the source (a test file); choosing it moves
    // nothing in the text.
    void AddListedError(const QString& text);
    // Assembles the text into the parser's image and lists the errors; true when none.
    bool AssembleText();
    // Asks about unsaved memory before the program replaces it; false when the user
    // cancelled or the save did not happen.
    bool MayOverwriteMemory();
    // Puts the assembled image into the simulation's memory, after asking about unsaved
    // memory, and resets PC. Cancel, or a save that did not happen, leaves memory alone.
    void OverwriteMemory();
    // The last assembly's source lines and what each byte holds, into program.
    void MapSource(TProgramLoad& program) const;
    // The program into memory with the last assembly's source map, while the text is still
    // the one assembled; the main window brought forward (after MayOverwriteMemory).
    void LoadIntoMemory(TProgramLoad program);
    // Null without one, or once it has gone.
    TSimulation* Simulation() const;

    struct TErrorPosition {
        int Line;
        int Column;
    };

    QVBoxLayout* listColumn_;  // the error list, and the test results under it
    QLabel* panels_[4];
    bool errorPressIgnored_ = false;  // the button went down where a click changes nothing
    TMenuKeys* menuKeys_;
    std::unique_ptr<TEditorTextSource> textSource_;
    std::unique_ptr<TAsmParser> parser_;
    std::unique_ptr<TSourceFollower> follower_;  // with a simulation only
    std::function<void(int address)> runTo_;     // with the main window's steering only
    std::optional<QString> assembledText_;       // the text of the last error-free assembly
    TAsmHighlighter* highlighter_;
    QString FileName_;
    bool FileModified_ = false;
    bool InsertMode_ = true;
    bool ReactToChanges_ = true;
    std::vector<TErrorPosition> ErrorPositions_;
};

// The most recently created editor that is still open, or null.
TAssemblerEditor* AssemblerEditor();
