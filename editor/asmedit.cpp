#include "editor/asmedit.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QSplitter>
#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <utility>

#include "asm/asmparse.h"
#include "asm/warnings.h"
#include "core/fileerror.h"
#include "core/simulation.h"
#include "editor/asmhighlighter.h"
#include "editor/asmhints.h"
#include "editor/asmtests.h"
#include "editor/editortextsource.h"
#include "editor/menukeys.h"
#include "editor/sourcefile.h"
#include "editor/sourcefollower.h"
#include "editor/sourceprint.h"
#include "gui/busycursor.h"
#include "gui/dialogpaths.h"
#include "gui/helphook.h"
#include "gui/listfocus.h"
#include "gui/localpath.h"
#include "gui/panekeys.h"
#include "gui/processvalues.h"
#include "gui/prompt.h"
#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

const QString Caption = QStringLiteral("Quarzel Assembler");

// Clears a flag while it lives and then gives it back its value, whatever the exit.
class TClearedFlag {
public:
    explicit TClearedFlag(bool& flag) : flag_(flag), saved_(std::exchange(flag, false)) {}
    ~TClearedFlag() { flag_ = saved_; }
    TClearedFlag(const TClearedFlag&) = delete;
    TClearedFlag& operator=(const TClearedFlag&) = delete;

private:
    bool& flag_;
    bool saved_;
};

std::vector<TAssemblerEditor*>& Editors() {
    static std::vector<TAssemblerEditor*> editors;
    return editors;
}

}  // namespace

TAssemblerEditor* AssemblerEditor() {
    return Editors().empty() ? nullptr : Editors().back();
}

TAssemblerEditor::TAssemblerEditor(TSimulation* simulation, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("AssemblerEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Caption);
    resize(ZoomedWindowSize(QSize(562, 451), 100));
    menuKeys_ = new TMenuKeys(this);
    BuildControls();
    BuildMenus();
    // The parser reads this window's text for its whole life; the hidden keyword's style
    // is derived afresh for every new parser.
    SetUpHiddenKeywordStyle();
    textSource_ = std::make_unique<TEditorTextSource>(*TextEditor->document());
    parser_ = std::make_unique<TAsmParser>(*textSource_);
    highlighter_ = new TAsmHighlighter(TextEditor->document(), *parser_);
    SetUpFollower(simulation);
    Tests = new TAsmTests(*this);
    TextEditor->setAccessibleName(QStringLiteral("Source"));
    ErrorBox->setAccessibleName(QStringLiteral("Errors"));
    Tests->TestBox->setAccessibleName(QStringLiteral("Test results"));
    AddPaneKeys(this, {TextEditor, ErrorBox, Tests->TestBox});
    AddSplitterKeys(this, BottomSplitter);
    Hints = new TAsmHints(*this);
    SetInsertMode(true);
    // The zoom keys work here too; the window grows with it, and styled text is sized by
    // the zoom, so it is styled anew.
    AddZoomActions(this);
    FollowZoom(this, [this, at = ZoomPercent()]() mutable {
        resize(ZoomedWindowSize(size(), at));
        // The lists below the text grow with their rows, so that no row is cut.
        QList<int> panes = BottomSplitter->sizes();
        for (int& pane : panes) pane = int(std::lround(pane * double(ZoomPercent()) / at));
        BottomSplitter->setSizes(panes);
        at = ZoomPercent();
        ReformatAll();
    });
    FollowTheme(this, [this] { ApplyTheme(); });
    Editors().push_back(this);
}

void TAssemblerEditor::ApplyTheme() {
    // The selection stays visible when the text loses the focus.
    QPalette colours = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    TextEditor->setPalette(colours);
    ReformatAll();
}

TAssemblerEditor::~TAssemblerEditor() {
    // The highlighter uses the parser, which goes before the text control and its
    // document do; nothing may style a line after that.
    delete highlighter_;
    // The error list empties as the controls go, after the tests' panel has gone with this.
    ErrorBox->model()->disconnect(Tests);
    std::erase(Editors(), this);
}

QString TAssemblerEditor::PanelText(int panel) const {
    return panels_[panel]->text();
}

void TAssemblerEditor::SetCaption(const QString& name) {
    setWindowTitle(Caption + QStringLiteral(" - ") + name);
}

QString TAssemblerEditor::ReferenceName() const {
    return FileName_.isEmpty() ? ProcessValues().CurrentAsmFile : FileName_;
}

// --- State ------------------------------------------------------------------------------

void TAssemblerEditor::SetFileModified(bool flag) {
    if (FileModified_ == flag) return;
    FileModified_ = flag;
    MenuSaveFile->setEnabled(flag);
    panels_[1]->setText(flag ? QStringLiteral("Modified") : QString());
}

void TAssemblerEditor::SetInsertMode(bool flag) {
    InsertMode_ = flag;
    TextEditor->setOverwriteMode(!flag);
    panels_[2]->setText(flag ? QStringLiteral("Insert") : QStringLiteral("Overwrite"));
}

// --- Files ------------------------------------------------------------------------------

bool TAssemblerEditor::LoadSourceFile(const QString& name) {
    TBusyCursor busy;
    QString text;
    try {
        text = ReadSourceText(name);
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
        return false;
    } catch (const std::exception&) {  // memory ran out: the window stays as it was
        Prompt().Error(this, NotLoadedText(name));
        return false;
    }
    // Loaded with highlighting on, every line ends in a line break, the last one too.
    if (MenuUseSyntaxHighlight->isChecked() && !text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    {
        const TClearedFlag quiet(ReactToChanges_);
        TextEditor->setPlainText(text);
    }
    if (follower_) follower_->TextReplaced();
    TextEdited();
    SetCaption(name);
    FileName_ = name;
    ProcessValues().CurrentAsmFile = name;
    SetFileModified(false);
    TextEditorSelectionChange();
    return true;
}

bool TAssemblerEditor::WriteSourceFile(const QString& name) {
    QStringList lines;
    for (QTextBlock block = TextEditor->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    try {
        WriteSourceText(name, lines);
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
        return false;
    }
    SetCaption(name);
    FileName_ = name;
    ProcessValues().CurrentAsmFile = name;
    SetFileModified(false);
    return true;
}

void TAssemblerEditor::OpenFileClick() {
    if (FileModified_ &&
        !SaveBeforeGoingOn(
            this,
            QStringLiteral(
                "Assembly File Changed.\nDo you want to save before you open another file?"),
            [this] { SaveFile(); }, [this] { return FileModified_; }))
        return;
    const QString reference = ReferenceName();
    TFileDialogRequest request;
    request.Title = QStringLiteral("Open Assembly File");
    request.Filters = {QStringLiteral("Assembly Files (*.asm)"), QStringLiteral("All Files (*)")};
    request.Directory = reference.isEmpty() ? ProcessValues().TempDir : DialogFolder(reference);
    const QString name = Prompt().OpenFileName(this, request);
    if (!name.isEmpty()) LoadSourceFile(name);
}

void TAssemblerEditor::SaveAsFile() {
    const QString reference = ReferenceName();
    TFileDialogRequest request;
    request.Title = QStringLiteral("Save Assembly File");
    request.Filters = {QStringLiteral("Assembly Files (*.asm)")};
    request.DefaultSuffix = QStringLiteral("asm");
    if (reference.isEmpty()) {
        request.Directory = ProcessValues().TempDir;
    } else {
        request.Directory = DialogFolder(reference);
        request.FileName = ProposedBaseName(reference);
    }
    const QString name = Prompt().SaveFileName(this, request);
    if (!name.isEmpty()) WriteSourceFile(name);
}

void TAssemblerEditor::SaveFile() {
    if (FileName_.isEmpty())
        SaveAsFile();
    else
        WriteSourceFile(FileName_);
}

void TAssemblerEditor::MenuPrintClick() {
    QPrinter printer;
    printer.setDocName(QString());
    if (Prompt().PrintSetup(this, printer)) PrintSource(*TextEditor->document(), printer);
}

void TAssemblerEditor::MenuExitFileClick() {
    close();
}

// --- Edit menu --------------------------------------------------------------------------

void TAssemblerEditor::EditMenuClick() {
    const bool selected = TextEditor->textCursor().hasSelection();
    MenuCut->setEnabled(selected);
    MenuCopy->setEnabled(selected);
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    MenuPaste->setEnabled(clip && clip->hasText());
}

void TAssemblerEditor::MenuUndoClick() {
    TextEditor->undo();
    TextEditor->viewport()->update();
}

void TAssemblerEditor::MenuCutClick() {
    // Shift+Delete reaches here without the menu's check: nothing selected cuts nothing.
    if (!TextEditor->textCursor().hasSelection()) return;
    TextEditor->cut();
    SetFileModified(true);
    TextEditor->viewport()->update();
}

void TAssemblerEditor::MenuCopyClick() {
    TextEditor->copy();
}

void TAssemblerEditor::MenuPasteClick() {
    // Shift+Insert reaches here without the menu's check: an empty clipboard changes nothing.
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    if (!clip || !clip->hasText() || clip->text().isEmpty()) return;
    TBusyCursor busy;
    {
        const TClearedFlag quiet(ReactToChanges_);
        TextEditor->paste();
    }
    TextEdited();
    TextEditorSelectionChange();
    TextEditor->viewport()->update();
    SetFileModified(true);
}

void TAssemblerEditor::MenuSelectAllClick() {
    TextEditor->selectAll();
    TextEditorSelectionChange();  // the caret moved to the end without a signal of its own
    TextEditor->viewport()->update();
}

void TAssemblerEditor::MenuUseSyntaxHighlightClick() {
    MenuUseSyntaxHighlight->trigger();
}

void TAssemblerEditor::ReformatAll() {
    TBusyCursor busy;
    {
        const TClearedFlag quiet(ReactToChanges_);
        highlighter_->SetEnabled(MenuUseSyntaxHighlight->isChecked());
        highlighter_->ReformatAll();
    }
    TextEditor->viewport()->update();
}

// --- Errors -----------------------------------------------------------------------------

void TAssemblerEditor::AddError(int line, int column, std::string_view message) {
    ErrorBox->addItem(QStringLiteral("line %1: %2")
                          .arg(line + 1)
                          .arg(QString::fromUtf8(message.data(), qsizetype(message.size()))));
    ErrorPositions_.push_back({line, column});
}

void TAssemblerEditor::AddListedError(const QString& text) {
    ErrorBox->addItem(text);
    ErrorPositions_.push_back({-1, -1});
    if (ErrorBox->count() == 1) GoToError(0);
    ErrorsMenu->setEnabled(true);
    MenuNextError->setEnabled(SelectedRow(*ErrorBox) < ErrorBox->count() - 1);
}

bool TAssemblerEditor::AssembleText() {
    ErrorBox->clear();
    ErrorPositions_.clear();
    parser_->Assemble([this](void*, int line, int column, std::string_view message) {
        AddError(line, column, message);
    });
    // Warnings are about a program that assembled; with errors there is none yet.
    Hints->Show(ErrorPositions_.empty() ? AsmWarnings(*parser_) : std::vector<TAsmWarning>{});
    assembledText_.reset();
    if (!ErrorPositions_.empty()) {
        GoToError(0);
        ErrorsMenu->setEnabled(true);
        MenuPreviousError->setEnabled(false);
        MenuNextError->setEnabled(true);
        return false;
    }
    ErrorsMenu->setEnabled(false);
    assembledText_ = TextEditor->toPlainText();
    return true;
}

void TAssemblerEditor::AssembleButtonClick() {
    TBusyCursor busy;
    if (AssembleText()) OverwriteMemory();
}

TSimulation* TAssemblerEditor::Simulation() const {
    return follower_ ? follower_->Simulation() : nullptr;
}

bool TAssemblerEditor::MayOverwriteMemory() {
    TMemoryDocument* document = Simulation()->Document();
    return !document || !document->MemModified() ||
           SaveBeforeGoingOn(
               this,
               QStringLiteral(
                   "Memory Changed.\nDo you want to save before you overwrite the memory?"),
               [document] { document->SaveMemory(); },
               [document] { return document->MemModified(); });
}

void TAssemblerEditor::LoadIntoMemory(TProgramLoad program) {
    if (TMemoryDocument* document = Simulation()->Document()) document->Activate();
    MapSource(program);
    const bool current = assembledText_ && *assembledText_ == TextEditor->toPlainText();
    follower_->Load(program, current ? &*assembledText_ : nullptr);
}

void TAssemblerEditor::MapSource(TProgramLoad& program) const {
    for (int address = 0; address < 256; ++address)
        program.Source[static_cast<std::size_t>(address)] = parser_->SourceLine(address);
    program.Placement = parser_->Placement();
}

void TAssemblerEditor::OverwriteMemory() {
    if (!Simulation() || !MayOverwriteMemory()) return;
    TProgramLoad program;
    for (int address = 0; address < 256; ++address)
        program.Image[static_cast<std::size_t>(address)] = parser_->MemoryByte(address);
    LoadIntoMemory(program);
}

void TAssemblerEditor::GoToError(int index) {
    if (index < 0 || index >= ErrorBox->count()) return;
    SelectRow(*ErrorBox, index);
    MenuPreviousError->setEnabled(index > 0);
    MenuNextError->setEnabled(index < ErrorBox->count() - 1);
    const TErrorPosition& place = ErrorPositions_[size_t(index)];
    if (place.Line >= 0) PlaceCaret(place.Line, place.Column);  // else not about the text
}

void TAssemblerEditor::PlaceCaret(int line, int column) {
    // Positions refer to the text as it was assembled; an edit since may have made them
    // point past the end, which then means the end.
    const QTextDocument* document = TextEditor->document();
    const QTextBlock block = document->findBlockByNumber(line);
    const int end = document->characterCount() - 1;
    const int position = block.isValid() ? std::min(block.position() + column, end) : end;
    QTextCursor cursor = TextEditor->textCursor();
    cursor.setPosition(position);
    TextEditor->setTextCursor(cursor);
    TextEditor->setFocus();
}

void TAssemblerEditor::NextErrorClick() {
    const int i = SelectedRow(*ErrorBox);
    if (i < ErrorBox->count() - 1) GoToError(i + 1);
}

void TAssemblerEditor::PreviousErrorClick() {
    const int i = SelectedRow(*ErrorBox);
    if (i > 0) GoToError(i - 1);
}

void TAssemblerEditor::ErrorBoxMouseUp(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton || event.modifiers() != Qt::NoModifier) return;
    const QModelIndex item = ErrorBox->indexAt(event.position().toPoint());
    if (item.isValid()) GoToError(item.row());
}

// Only a plain click on an item picks an error; others leave the selection, so that
// Next and Previous keep their place.
bool TAssemblerEditor::ErrorBoxMouseIgnored(const QMouseEvent& event) {
    if (event.type() == QEvent::MouseButtonPress || event.type() == QEvent::MouseButtonDblClick)
        errorPressIgnored_ = event.modifiers() != Qt::NoModifier ||
                             !ErrorBox->indexAt(event.position().toPoint()).isValid();
    return errorPressIgnored_ &&
           (event.buttons() != Qt::NoButton || event.type() == QEvent::MouseButtonRelease);
}

bool TAssemblerEditor::ErrorBoxKeyPress(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Return && event.key() != Qt::Key_Enter) return false;
    GoToError(SelectedRow(*ErrorBox));
    return true;
}

// One handler for both entries: each carries its own help context.
void TAssemblerEditor::HelpMenuItemClick(QAction* entry) {
    HelpHook().FormHelp(HelpContextPopup, entry->property(HelpContextProperty).toInt());
}

// --- Debug menu -------------------------------------------------------------------------

void TAssemblerEditor::SetSteering(const TDebugSteering& steering) {
    if (!follower_) return;
    DebugMenu->insertActions(MenuToggleBreakpoint,
                             QList<QAction*>(steering.Shared.begin(), steering.Shared.end()));
    DebugMenu->insertSeparator(MenuToggleBreakpoint);
    runTo_ = steering.RunTo;
    MenuRunToCursor->setEnabled(true);
}

void TAssemblerEditor::ToggleBreakpointClick() {
    follower_->ToggleBreakpointAt(TextEditor->textCursor().blockNumber());
}

void TAssemblerEditor::RunToCursorClick() {
    const int address = follower_->AddressOfLine(TextEditor->textCursor().blockNumber());
    if (address >= 0 && runTo_) runTo_(address);
}

void TAssemblerEditor::RemoveAllBreakpoints() {
    follower_->RemoveDots();
    if (TSimulation* simulation = Simulation()) simulation->ClearBreakpoints();
}

void TAssemblerEditor::ShowFollowerState() {
    const bool changed = follower_->Changed();
    panels_[3]->setText(changed ? QStringLiteral("Changed since Assemble") : QString());
    panels_[3]->setVisible(changed);
}

// --- Text control -----------------------------------------------------------------------

// A character typed in Overwrite mode replaces the one after the caret in one undo step
// (the text control would make two, passing through a text without either character).
bool TAssemblerEditor::TypeOverwriting(const QKeyEvent& event) {
    const QString text = event.text();
    if (InsertMode_ || text.isEmpty() || !text.front().isPrint() ||
        (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    QTextCursor cursor = TextEditor->textCursor();
    cursor.beginEditBlock();
    if (!cursor.hasSelection()) {
        const int room =
            cursor.block().position() + cursor.block().length() - 1 - cursor.position();
        cursor.setPosition(cursor.position() + std::min<int>(room, text.size()),
                           QTextCursor::KeepAnchor);
    }
    cursor.insertText(text);
    cursor.endEditBlock();
    TextEditor->setTextCursor(cursor);
    TextEditor->ensureCursorVisible();
    return true;
}

bool TAssemblerEditor::TextEditorKeyDown(const QKeyEvent& event) {
    if (TypeOverwriting(event)) return true;
    const Qt::KeyboardModifiers mods =
        event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event.key()) {
        case Qt::Key_Insert:
            if (mods == Qt::NoModifier) {
                SetInsertMode(!InsertMode_);
                return false;
            }
            if (mods == Qt::ShiftModifier) {
                MenuPasteClick();
                return true;
            }
            if (mods == Qt::ControlModifier) {
                MenuCopyClick();
                return true;
            }
            return false;
        case Qt::Key_Delete:
            if (mods != Qt::ShiftModifier) return false;
            MenuCutClick();
            return true;
        case Qt::Key_Y:
            if (mods != Qt::ControlModifier) return false;
            DeleteCaretLine();
            return true;
        default:
            return false;
    }
}

// Removes the caret's line with its line break. The last line takes the break before it
// instead, so the line is gone and no empty line is left in its place.
void TAssemblerEditor::DeleteCaretLine() {
    const QTextBlock block = TextEditor->textCursor().block();
    QTextCursor cursor(block);
    if (block.next().isValid()) {
        cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
    } else {
        if (block.previous().isValid())
            cursor.setPosition(block.previous().position() + block.previous().length() - 1);
        cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    }
    cursor.removeSelectedText();
}

void TAssemblerEditor::TextEditorSelectionChange() {
    if (!ReactToChanges_) return;
    const QTextCursor cursor = TextEditor->textCursor();
    panels_[0]->setText(
        QStringLiteral("%1: %2  ").arg(cursor.blockNumber() + 1).arg(cursor.positionInBlock() + 1));
}

void TAssemblerEditor::TextEditorChange() {
    if (!ReactToChanges_) return;
    TextEdited();
    SetFileModified(true);
}

void TAssemblerEditor::TextEdited() {
    if (follower_) follower_->TextEdited();
    Tests->TextEdited();
}

bool TAssemblerEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (watched == TextEditor && TextEditorKeyDown(key)) return true;
        if (watched == ErrorBox && ErrorBoxKeyPress(key)) return true;
    } else if (event->type() == QEvent::ShortcutOverride && watched == TextEditor) {
        // Shift+Insert, Ctrl+Insert, Shift+Delete and Ctrl+Y are this window's commands,
        // not the text control's own clipboard and redo keys.
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.key() == Qt::Key_Insert || key.key() == Qt::Key_Delete || key.key() == Qt::Key_Y) {
            event->accept();
            return true;
        }
    } else if (watched == ErrorBox->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                                   event->type() == QEvent::MouseButtonDblClick ||
                                                   event->type() == QEvent::MouseMove ||
                                                   event->type() == QEvent::MouseButtonRelease)) {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (ErrorBoxMouseIgnored(mouse)) return true;
        if (event->type() == QEvent::MouseButtonRelease) ErrorBoxMouseUp(mouse);
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Closing ----------------------------------------------------------------------------

bool TAssemblerEditor::FormCloseQuery() {
    if (!FileModified_) return true;
    if (isMinimized()) showNormal();  // the question is about a text the user can see
    raise();
    activateWindow();
    TextEditor->setFocus();
    return SaveBeforeGoingOn(
        this, QStringLiteral("Assembly File Changed.\nDo you want to save before you exit?"),
        [this] { SaveFile(); }, [this] { return FileModified_; });
}

void TAssemblerEditor::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}
