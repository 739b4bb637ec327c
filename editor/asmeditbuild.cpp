// The assembler editor's controls and menus, built once when the window is created.
#include "editor/asmedit.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>

#include "editor/hlstyles.h"
#include "editor/menukeys.h"
#include "editor/sourcefollower.h"
#include "gui/helpcontexts.h"
#include "gui/listfocus.h"
#include "gui/zoom.h"

namespace {

QLabel* NewPanel(QStatusBar* bar, const QString& name, const QString& widest) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(name);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMinimumWidth(std::max(60, panel->fontMetrics().horizontalAdvance(widest) + 8));
    bar->addWidget(panel);
    return panel;
}

// Error items are 16 pixels high (at 100 %) whatever the font's own line height.
class TErrorItemDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), Zoomed(16)};
    }
};

}  // namespace

void TAssemblerEditor::BuildControls() {
    TextEditor = new TSourceEdit;
    TextEditor->setObjectName(QStringLiteral("TextEditor"));
    const QFont font = HighlightStyle(THighlightClass::Normal).Font();
    TextEditor->setFont(font);
    TextEditor->document()->setDefaultFont(font);
    TextEditor->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextEditor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextEditor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextEditor->setTabChangesFocus(false);
    TextEditor->setTabStopDistance(8 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    TextEditor->installEventFilter(this);
    connect(TextEditor, &QPlainTextEdit::textChanged, this, &TAssemblerEditor::TextEditorChange);
    connect(TextEditor, &QPlainTextEdit::cursorPositionChanged, this,
            &TAssemblerEditor::TextEditorSelectionChange);

    ErrorBox = new QListWidget;
    ErrorBox->setObjectName(QStringLiteral("ErrorBox"));
    ErrorBox->setSelectionMode(QAbstractItemView::SingleSelection);
    CurrentOnlyWithFocus(*ErrorBox);
    // Where this face is not installed, the system's sans-serif face stands in.
    QFont listFont(QStringLiteral("MS Sans Serif"), 10);
    listFont.setStyleHint(QFont::SansSerif);
    ErrorBox->setFont(listFont);
    ErrorBox->setItemDelegate(new TErrorItemDelegate(ErrorBox));
    ErrorBox->installEventFilter(this);
    ErrorBox->viewport()->installEventFilter(this);

    AssembleButton = new QToolButton;
    AssembleButton->setObjectName(QStringLiteral("AssembleButton"));
    AssembleButton->setText(QStringLiteral("assemble"));
    AssembleButton->setToolTip(QStringLiteral("Assemble source file"));
    AssembleButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    AssembleButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    AssembleButton->setAutoRaise(true);
    AssembleButton->setMinimumWidth(53);
    // As high as its picture and caption, at the top of a panel that grows with test results:
    // a taller button would leave the caption far below the picture.
    AssembleButton->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(AssembleButton, &QToolButton::clicked, this, &TAssemblerEditor::AssembleButtonClick);

    BottomPanel = new QWidget;
    BottomPanel->setObjectName(QStringLiteral("BottomPanel"));
    auto* bottom = new QHBoxLayout(BottomPanel);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    listColumn_ = new QVBoxLayout;
    listColumn_->setSpacing(0);
    listColumn_->addWidget(ErrorBox, 1);
    bottom->addLayout(listColumn_, 1);
    bottom->addWidget(AssembleButton, 0, Qt::AlignTop);
    BottomPanel->setMinimumHeight(1);
    TextEditor->setMinimumHeight(1);

    BottomSplitter = new QSplitter(Qt::Vertical);
    BottomSplitter->setObjectName(QStringLiteral("BottomSplitter"));
    BottomSplitter->setHandleWidth(3);
    BottomSplitter->setOpaqueResize(true);
    BottomSplitter->setChildrenCollapsible(false);
    BottomSplitter->addWidget(TextEditor);
    BottomSplitter->addWidget(BottomPanel);
    BottomSplitter->setStretchFactor(0, 1);
    BottomSplitter->setStretchFactor(1, 0);
    BottomSplitter->setSizes({360, std::max(57, AssembleButton->sizeHint().height())});
    setCentralWidget(BottomSplitter);

    EditorStatusBar = new QStatusBar;
    EditorStatusBar->setObjectName(QStringLiteral("EditorStatusBar"));
    EditorStatusBar->setSizeGripEnabled(true);
    setStatusBar(EditorStatusBar);
    panels_[0] =
        NewPanel(EditorStatusBar, QStringLiteral("CaretPanel"), QStringLiteral("9999: 999  "));
    panels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    panels_[0]->setText(QStringLiteral("1: 1  "));
    panels_[1] =
        NewPanel(EditorStatusBar, QStringLiteral("ModifiedPanel"), QStringLiteral("Modified"));
    panels_[2] =
        NewPanel(EditorStatusBar, QStringLiteral("InsertModePanel"), QStringLiteral("Overwrite"));
    // Shown only while the text differs from the program it put into memory.
    panels_[3] = NewPanel(EditorStatusBar, QStringLiteral("AssemblyPanel"),
                          QStringLiteral("Changed since Assemble"));
    panels_[3]->hide();

    for (QWidget* focusable : {static_cast<QWidget*>(TextEditor), static_cast<QWidget*>(ErrorBox),
                               static_cast<QWidget*>(AssembleButton)})
        menuKeys_->Watch(focusable);
}

QAction* TAssemblerEditor::AddEntry(QMenu* menu, const QString& caption, const QKeySequence& key,
                                    void (TAssemblerEditor::*handler)()) {
    QAction* entry = menu->addAction(caption);
    entry->setShortcut(key);
    connect(entry, &QAction::triggered, this, handler);
    if (!key.isEmpty()) menuKeys_->Add(entry, menu);
    return entry;
}

void TAssemblerEditor::BuildMenus() {
    AsmMainMenu = menuBar();
    AsmMainMenu->setObjectName(QStringLiteral("AsmMainMenu"));
    auto name = [](QObject* object, const char* field) {
        object->setObjectName(QLatin1String(field));
    };

    FileMenu = AsmMainMenu->addMenu(QStringLiteral("&File"));
    name(FileMenu, "FileMenu");
    MenuOpenFile = AddEntry(FileMenu, QStringLiteral("&Open..."),
                            QKeySequence(Qt::CTRL | Qt::Key_O), &TAssemblerEditor::OpenFileClick);
    MenuSaveFile = AddEntry(FileMenu, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S),
                            &TAssemblerEditor::SaveFile);
    MenuSaveAsFile = AddEntry(FileMenu, QStringLiteral("Save &As..."), QKeySequence(),
                              &TAssemblerEditor::SaveAsFile);
    MenuPrint = AddEntry(FileMenu, QStringLiteral("&Print..."), QKeySequence(),
                         &TAssemblerEditor::MenuPrintClick);
    MenuExitFile = AddEntry(FileMenu, QStringLiteral("E&xit"), QKeySequence(),
                            &TAssemblerEditor::MenuExitFileClick);
    MenuSaveFile->setEnabled(false);

    EditMenu = AsmMainMenu->addMenu(QStringLiteral("&Edit"));
    name(EditMenu, "EditMenu");
    connect(EditMenu, &QMenu::aboutToShow, this, &TAssemblerEditor::EditMenuClick);
    // Undo is not shown in the menu but its key works; a hidden Qt action would be
    // disabled, so the entry belongs to the window and only its key is in the Edit menu.
    MenuUndo = new QAction(QStringLiteral("&Undo"), this);
    MenuUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(MenuUndo, &QAction::triggered, this, &TAssemblerEditor::MenuUndoClick);
    menuKeys_->Add(MenuUndo, EditMenu);
    MenuCut = AddEntry(EditMenu, QStringLiteral("Cu&t"), QKeySequence(Qt::CTRL | Qt::Key_X),
                       &TAssemblerEditor::MenuCutClick);
    MenuCopy = AddEntry(EditMenu, QStringLiteral("&Copy"), QKeySequence(Qt::CTRL | Qt::Key_C),
                        &TAssemblerEditor::MenuCopyClick);
    MenuPaste = AddEntry(EditMenu, QStringLiteral("&Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                         &TAssemblerEditor::MenuPasteClick);
    MenuSelectAll =
        AddEntry(EditMenu, QStringLiteral("Select &All"), QKeySequence(Qt::CTRL | Qt::Key_A),
                 &TAssemblerEditor::MenuSelectAllClick);
    MenuUseSyntaxHighlight = EditMenu->addAction(QStringLiteral("Use Syntaxhighlight"));
    MenuUseSyntaxHighlight->setCheckable(true);
    MenuUseSyntaxHighlight->setChecked(true);
    connect(MenuUseSyntaxHighlight, &QAction::triggered, this, &TAssemblerEditor::ReformatAll);

    MenuAssemble = AsmMainMenu->addAction(QStringLiteral("&Assemble"));
    MenuAssemble->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F9));
    connect(MenuAssemble, &QAction::triggered, this, &TAssemblerEditor::AssembleButtonClick);
    menuKeys_->Add(MenuAssemble, nullptr);

    ErrorsMenu = AsmMainMenu->addMenu(QStringLiteral("E&rrors"));
    name(ErrorsMenu, "ErrorsMenu");
    MenuNextError = AddEntry(ErrorsMenu, QStringLiteral("&Next"),
                             QKeySequence(Qt::CTRL | Qt::Key_N), &TAssemblerEditor::NextErrorClick);
    MenuPreviousError =
        AddEntry(ErrorsMenu, QStringLiteral("&Previous"), QKeySequence(Qt::CTRL | Qt::Key_P),
                 &TAssemblerEditor::PreviousErrorClick);
    ErrorsMenu->setEnabled(false);

    BuildDebugMenu();

    HelpMenu = AsmMainMenu->addMenu(QStringLiteral("&Help"));
    name(HelpMenu, "HelpMenu");
    MenuHelpInstructions = HelpMenu->addAction(QStringLiteral("&Instructions"));
    MenuHelpInstructions->setProperty(HelpContextProperty, EditorInstructionsContext);
    MenuHelpSyntax = HelpMenu->addAction(QStringLiteral("&Syntax"));
    MenuHelpSyntax->setProperty(HelpContextProperty, EditorSyntaxContext);
    connect(HelpMenu, &QMenu::triggered, this, &TAssemblerEditor::HelpMenuItemClick);

    name(MenuOpenFile, "MenuOpenFile");
    name(MenuSaveFile, "MenuSaveFile");
    name(MenuSaveAsFile, "MenuSaveAsFile");
    name(MenuPrint, "MenuPrint");
    name(MenuExitFile, "MenuExitFile");
    name(MenuUndo, "MenuUndo");
    name(MenuCut, "MenuCut");
    name(MenuCopy, "MenuCopy");
    name(MenuPaste, "MenuPaste");
    name(MenuSelectAll, "MenuSelectAll");
    name(MenuUseSyntaxHighlight, "MenuUseSyntaxHighlight");
    name(MenuAssemble, "MenuAssemble");
    name(MenuNextError, "MenuNextError");
    name(MenuPreviousError, "MenuPreviousError");
    name(MenuHelpInstructions, "MenuHelpInstructions");
    name(MenuHelpSyntax, "MenuHelpSyntax");
}

// The main window's commands join it when it lends them (SetSteering).
void TAssemblerEditor::BuildDebugMenu() {
    DebugMenu = AsmMainMenu->addMenu(QStringLiteral("&Debug"));
    DebugMenu->setObjectName(QStringLiteral("DebugMenu"));
    MenuToggleBreakpoint =
        AddDebugEntry(TDebugCommand::ToggleBreakpoint, &TAssemblerEditor::ToggleBreakpointClick);
    MenuRunToCursor =
        AddDebugEntry(TDebugCommand::RunToCursor, &TAssemblerEditor::RunToCursorClick);
    MenuRunToCursor->setEnabled(false);
    MenuRemoveAllBreakpoints =
        AddDebugEntry(TDebugCommand::RemoveAllBreakpoints, &TAssemblerEditor::RemoveAllBreakpoints);
}

QAction* TAssemblerEditor::AddDebugEntry(TDebugCommand command,
                                         void (TAssemblerEditor::*handler)()) {
    QAction* entry = NewDebugAction(command, DebugMenu);
    entry->setProperty(HelpContextProperty, DebugMenuContext);
    DebugMenu->addAction(entry);
    connect(entry, &QAction::triggered, this, handler);
    if (!entry->shortcut().isEmpty()) menuKeys_->Add(entry, DebugMenu);
    return entry;
}

void TAssemblerEditor::SetUpFollower(TSimulation* simulation) {
    DebugMenu->setEnabled(simulation != nullptr);
    if (!simulation) return;
    follower_ = std::make_unique<TSourceFollower>(*TextEditor, *simulation);
    follower_->StateChanged = [this] { ShowFollowerState(); };
}
