#include "app/mainwin.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>

#include "app/breakpointdelegate.h"
#include "app/disasmview.h"
#include "app/explainpanel.h"
#include "app/labelgrid.h"
#include "app/predictpanel.h"
#include "app/runcontrol.h"
#include "app/valuecardtip.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "gui/debugcommands.h"
#include "gui/helpcontexts.h"
#include "gui/listfocus.h"
#include "gui/liveregion.h"
#include "gui/named.h"
#include "gui/zoom.h"

namespace {

const QString Caption = QStringLiteral("Quarzel Simulator");

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption,
                       const QString& hint, int helpContext, QStyle::StandardPixmap icon) {
    auto* button = Named(new QPushButton(caption, parent), name, helpContext, hint);
    button->setIcon(parent->style()->standardIcon(icon));
    return button;
}

QAction* NewAction(QWidget* parent, const char* name, const QString& caption,
                   const QKeySequence& key, const QString& hint, int helpContext = NoContext) {
    auto* action = Named(new QAction(caption, parent), name, helpContext);
    action->setShortcut(key);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}

QStringList Numbered(const char* format, int count) {
    QStringList texts;
    for (int i = 0; i < count; ++i) texts << QString::asprintf(format, i);
    return texts;
}

// The fixed-pitch font of the disassembly list.
QFont ListFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(11);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(11);
    }
    return font;
}

}  // namespace

TMainWin::TMainWin(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainWin");
    setProperty(HelpContextProperty, NoHelpContext);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::WindowContextHelpButtonHint);
    QFont windowFont = font();
    windowFont.setPixelSize(11);
    setFont(windowFont);
    SetCaption({});

    CreateControls();
    CreateMenus();
    CreateViewMenu();
    SetAddedHelpContexts();
    NameForScreenReaders();
    disasm_ = std::make_unique<TDisasmView>(
        *DisasmWin, [this](int row) { return DotOfLine(row) != TBreakpointDot::None; });
    sim_ = std::make_unique<TSimulation>(TMachineStores{*MainMemory, *Registers, *SysRegs});
    sim_->AddObserver(this);
    sim_->SetWatching(true);  // the status bar shows the notes
    sim_->SetDocument(this);
    run_ = std::make_unique<TRunControl>(*sim_);
    CreateStudyAids();
    auto* cards = new TValueCardTip(*sim_, this);
    cards->Watch(MainMemory, TValueCell::Memory);
    cards->Watch(Registers, TValueCell::Register);
    cards->Watch(SysRegs, TValueCell::SysReg);
    SetUpBreakpoints();
    ConnectGrids();
    // After the grids know their edit limits, so IR is measured with all four digits.
    PlaceControls();
    FollowZoom(this, [this] {
        PlaceControls();
        ApplyTheme();  // the marks' width follows the zoom
    });
    FollowTheme(this, [this] { ApplyTheme(); });

    memModified_ = true;  // so that the next call runs in full
    SetMemModified(false);
    SetStatus(ReadyStatus());
    EnableDebugCommands();
}

TMainWin::~TMainWin() {
    run_.reset();
    // Gone while this window is whole: the other windows let go of it first.
    sim_->RemoveObserver(this);
    sim_.reset();
    // The grids outlive this body; their callbacks must not reach a half-destroyed window.
    for (THexGrid* grid : {MainMemory, Registers, SysRegs}) {
        grid->OnSelChanged = nullptr;
        grid->OnSelectCell = nullptr;
    }
}

void TMainWin::CreateControls() {
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    setCentralWidget(client);

    Line1 = Named(new QFrame(client), "Line1");
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    QFont titleFont = font();
    titleFont.setPixelSize(16);
    LabelMem = Named(new QLabel("Main Memory", client), "LabelMem");
    LabelReg = Named(new QLabel("Registers", client), "LabelReg");
    for (QLabel* label : {LabelMem, LabelReg}) {
        label->setFont(titleFont);
        label->setAlignment(Qt::AlignCenter);
    }

    using D = TLabelGrid::TDirection;
    LabelsMem1 = Named(new TLabelGrid(Numbered("..%X", 16), D::Across, client), "LabelsMem1",
                       MemoryColumnLabelsContext);
    LabelsMem2 = Named(new TLabelGrid(Numbered("%X0", 16), D::Down, client), "LabelsMem2",
                       MemoryRowLabelsContext);
    LabelsReg1 = Named(new TLabelGrid(Numbered("R%X", 16), D::Down, client), "LabelsReg1",
                       RegisterLabelsContext, "General Purpose Registers");
    LabelsReg2 = Named(new TLabelGrid({"PC", "IR"}, D::Down, client), "LabelsReg2",
                       SysRegLabelsContext, "System Registers");

    // A changed cell keeps the grid's own face, in bold red; PC and IR are not highlighted.
    const auto changedFontOf = [](const THexGrid* grid) {
        QFont bold = grid->font();
        bold.setBold(true);
        return TCellFont{bold, grid->FontChanged().Color};  // the theme sets the colour
    };
    MainMemory = Named(new THexGrid(client), "MainMemory", MainMemoryContext);
    MainMemory->SetColCount(16);
    MainMemory->SetRowCount(16);
    MainMemory->SetFontChanged(changedFontOf(MainMemory));
    Registers =
        Named(new THexGrid(client), "Registers", RegistersContext, "General Purpose Registers");
    Registers->SetColCount(1);
    Registers->SetRowCount(16);
    Registers->SetFontChanged(changedFontOf(Registers));
    SysRegs = Named(new THexGrid(client), "SysRegs", SysRegsContext, "System Registers");
    SysRegs->SetColCount(1);
    SysRegs->SetRowCount(2);
    SysRegs->SetDefaultColWidth(32);
    SysRegs->SetFontChanged({SysRegs->font(), {}});  // the plain face; the theme sets its colour
    // IR can be looked at but never edited; it shows all four digits. Bound before the
    // grid is placed, so that its size counts them.
    SysRegs->OnSelectCell = [](THexGrid*, int, int row, bool& canSelect) {
        if (row == IrIndex) canSelect = false;
    };
    SysRegs->OnGetEditLimit = [](THexGrid*, int, int row, int& value) {
        if (row == IrIndex) value = 4;
    };

    using P = QStyle::StandardPixmap;
    ZeroPC = Named(new QPushButton("=0", client), "ZeroPC", ZeroPCContext, "Zero PC");
    OpenButton = NewButton(client, "OpenButton", "&Open...", "Open a file from disk",
                           OpenButtonContext, P::SP_DialogOpenButton);
    SaveButton = NewButton(client, "SaveButton", "&Save", "Save file to disk", SaveButtonContext,
                           P::SP_DialogSaveButton);
    RunButton =
        NewButton(client, "RunButton", "&Run", "Run program", RunButtonContext, P::SP_MediaPlay);
    StepButton = NewButton(client, "StepButton", "S&tep", "Execute one instruction",
                           StepButtonContext, P::SP_MediaSeekForward);
    BreakButton = NewButton(client, "BreakButton", "Break", "Pause execution", BreakButtonContext,
                            P::SP_MediaPause);
    BreakButton->setEnabled(false);
    ResetButton = NewButton(client, "ResetButton", "Clear...", "Reset memory or registers",
                            ResetButtonContext, P::SP_DialogResetButton);
    AssemblerButton = NewButton(client, "AssemblerButton", "&Asm", "Assembler editor",
                                AssemblerButtonContext, P::SP_FileDialogDetailedView);
    AssemblerButton->setEnabled(false);  // until the assembler editor is part of the program
    ViewAsmButton = NewButton(client, "ViewAsmButton", "&Disasm", "View disassembled instructions",
                              ViewAsmButtonContext, P::SP_FileDialogContentsView);

    DisasmWin =
        Named(new QListWidget(client), "DisasmWin", DisasmWinContext, "Disassembler window");
    DisasmWin->setFont(ListFont());
    DisasmWin->setUniformItemSizes(true);
    DisasmWin->setSelectionMode(QAbstractItemView::SingleSelection);
    CurrentOnlyWithFocus(*DisasmWin);
    DisasmWin->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    DisasmWin->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    DisasmWin->installEventFilter(this);
    DisasmWin->viewport()->installEventFilter(this);

    // Made first, so that it lies beneath the output window.
    OutputFrame = Named(new QFrame(client), "OutputFrame");
    OutputFrame->setFrameShape(QFrame::Box);
    OutputFrame->hide();
    OutputBox = Named(new TShowText(client), "OutputBox", OutputBoxContext, "Output Window");
    OutputBox->setCursor(Qt::ArrowCursor);

    StatusBar = Named(statusBar(), "StatusBar", StatusBarContext);
    StatusBar->setSizeGripEnabled(false);
    QFont statusFont = font();
    StatusBar->setFont(statusFont);
    // The fixed panels are as wide as laid out, or wider when their longest text needs it.
    const int widths[3] = {70, 60, 0};
    const QString longest[3] = {"Address: 255", "Modified", {}};
    for (int i = 0; i < 3; ++i) {
        panels_[i] = new QLabel(StatusBar);
        panels_[i]->setObjectName(QString("StatusPanel%1").arg(i));
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const int margins = 2 * panels_[i]->frameWidth() + 2 * panels_[i]->margin() + 4;
        const int needed = QFontMetrics(statusFont).horizontalAdvance(longest[i]) + margins;
        if (widths[i]) panels_[i]->setFixedWidth(std::max(widths[i], needed));
        StatusBar->addWidget(panels_[i], widths[i] ? 0 : 1);
    }
    panels_[0]->setText("Address:");
    statusVoice_ = new TLiveRegion(panels_[2], [this] { return run_ && run_->Running(); });
    OutputBox->SetQuiet([this] { return run_ && run_->Running(); });
    // Beside the status, never widening the window: a long note is cut, and its tip holds it
    // whole.
    NotePanel = Named(new QLabel(StatusBar), "NotePanel");
    NotePanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    NotePanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    NotePanel->hide();
    StatusBar->addWidget(NotePanel, 2);

    setTabOrder(MainMemory, Registers);
    setTabOrder(Registers, SysRegs);
    setTabOrder(SysRegs, ZeroPC);
    setTabOrder(ZeroPC, DisasmWin);
    setTabOrder(DisasmWin, AssemblerButton);
    setTabOrder(AssemblerButton, ViewAsmButton);
    setTabOrder(ViewAsmButton, OpenButton);
    setTabOrder(OpenButton, SaveButton);
    setTabOrder(SaveButton, RunButton);
    setTabOrder(RunButton, StepButton);
    setTabOrder(StepButton, BreakButton);
    setTabOrder(BreakButton, ResetButton);

    connect(ZeroPC, &QPushButton::clicked, this, &TMainWin::ZeroPCClick);
    connect(OpenButton, &QPushButton::clicked, this, &TMainWin::OpenFileClick);
    connect(SaveButton, &QPushButton::clicked, this, &TMainWin::SaveFileClick);
    connect(RunButton, &QPushButton::clicked, this, &TMainWin::RunSimulator);
    connect(StepButton, &QPushButton::clicked, this, &TMainWin::StepSimulator);
    connect(BreakButton, &QPushButton::clicked, this, &TMainWin::BreakSimulator);
    connect(ResetButton, &QPushButton::clicked, this, &TMainWin::ClearSimulator);
    connect(AssemblerButton, &QPushButton::clicked, this, &TMainWin::AssemblerButtonClick);
    connect(ViewAsmButton, &QPushButton::clicked, this, &TMainWin::ViewAsmButtonClick);
    connect(DisasmWin, &QListWidget::itemDoubleClicked, this, &TMainWin::DisasmWinDblClick);
}

void TMainWin::CreateMenus() {
    QMenu* file = Named(menuBar()->addMenu("&File"), "FileMenu");
    MenuOpenFile = NewAction(this, "MenuOpenFile", "&Open...", QKeySequence("Ctrl+O"),
                             "Open file with data for main memory");
    MenuSaveFile = NewAction(this, "MenuSaveFile", "&Save", QKeySequence("Ctrl+S"),
                             "Save main memory to file");
    MenuSaveAsFile =
        NewAction(this, "MenuSaveAsFile", "Save &As...", {}, "Save with different filename");
    MenuExit = NewAction(this, "MenuExit", "E&xit", {}, "Exit Quarzel Simulator");
    file->addActions({MenuOpenFile, MenuSaveFile, MenuSaveAsFile});
    file->addSeparator();
    file->addAction(MenuExit);

    EditMenu = Named(menuBar()->addMenu("&Edit"), "EditMenu");
    MenuCut = NewAction(this, "MenuCut", "Cu&t", QKeySequence("Ctrl+X"), {});
    MenuCopy = NewAction(this, "MenuCopy", "&Copy", QKeySequence("Ctrl+C"), {});
    MenuPaste = NewAction(this, "MenuPaste", "&Paste", QKeySequence("Ctrl+V"), {});
    MenuSelectAll = NewAction(this, "MenuSelectAll", "Select &All", QKeySequence("Ctrl+A"), {});
    EditMenu->addActions({MenuCut, MenuCopy, MenuPaste});
    EditMenu->addSeparator();
    EditMenu->addAction(MenuSelectAll);

    QMenu* run = Named(menuBar()->addMenu("&Run"), "RunMenu");
    MenuRun = NewDebugAction(TDebugCommand::Run, this);
    MenuStep = NewDebugAction(TDebugCommand::Step, this);
    MenuReset =
        NewAction(this, "MenuReset", "&Clear", QKeySequence("Ctrl+F2"), "Reset program counter");
    MenuStepBack = NewDebugAction(TDebugCommand::StepBack, this);
    MenuRunBack = NewDebugAction(TDebugCommand::RunBack, this);
    MenuBreak = NewDebugAction(TDebugCommand::Break, this);
    MenuBreak->setEnabled(false);  // as the Break button
    run->addActions({MenuRun, MenuStep, MenuStepBack, MenuRunBack, MenuBreak, MenuReset});
    MenuTrace = NewAction(this, "MenuTrace", "&Trace...", {}, "Show the executed instructions");
    run->addSeparator();
    run->addAction(MenuTrace);
    CreateBreakpointMenus(run);

    QMenu* help = Named(menuBar()->addMenu("&Help"), "HelpMenu");
    MenuHelpInstructions =
        NewAction(this, "MenuHelpInstructions", "&Instructions", {},
                  "Help about the instructions of the Quarzel Simulator", InstructionsContext);
    MenuHelpSyntax = NewAction(this, "MenuHelpSyntax", "Assembler &Syntax", {},
                               "Help about the syntax of the Quarzel Assembler", SyntaxContext);
    MenuWWWHelp =
        NewAction(this, "MenuWWWHelp", "&Web help", {}, "General help about the Quarzel Simulator");
    MenuOptions = NewAction(this, "MenuOptions", "&Options...", {}, {});
    MenuAbout = NewAction(this, "MenuAbout", "&About...", {}, "Display the About box");
    help->addActions({MenuHelpInstructions, MenuHelpSyntax, MenuWWWHelp});
    help->addSeparator();
    help->addAction(MenuOptions);
    help->addSeparator();
    help->addAction(MenuAbout);
    for (QMenu* menu : {file, EditMenu, run, help}) menu->setToolTipsVisible(true);

    MainMemoryPopup = Named(new QMenu(this), "MainMemoryPopup");
    MenuClearMemory = NewAction(this, "MenuClearMemory", "Clear", QKeySequence::Delete, {});
    MainMemoryPopup->addAction(MenuClearMemory);
    MainMemoryPopup->addSeparator();
    MainMemoryPopup->addActions({MenuCut, MenuCopy, MenuPaste});
    MainMemoryPopup->addSeparator();
    MainMemoryPopup->addAction(MenuSelectAll);
    RegistersPopup = Named(new QMenu(this), "RegistersPopup");
    MenuClearRegisters = NewAction(this, "MenuClearRegisters", "Clear", QKeySequence::Delete, {});
    RegistersPopup->addAction(MenuClearRegisters);
    // Del acts on the grid that has the focus, as its pop-up menu says.
    MenuClearMemory->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    MainMemory->addAction(MenuClearMemory);
    MenuClearRegisters->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    Registers->addAction(MenuClearRegisters);
    MainMemory->SetPopupMenu(MainMemoryPopup);
    Registers->SetPopupMenu(RegistersPopup);

    // The Edit menu greys out what cannot be done while it is open; its shortcuts and
    // the pop-up entries stay available, and the commands check for themselves.
    connect(EditMenu, &QMenu::aboutToShow, this, &TMainWin::EditMenuClick);
    connect(EditMenu, &QMenu::aboutToHide, this, [this] {
        for (QAction* action : {MenuCut, MenuCopy, MenuPaste}) action->setEnabled(true);
    });

    connect(MenuOpenFile, &QAction::triggered, this, &TMainWin::OpenFileClick);
    connect(MenuSaveFile, &QAction::triggered, this, &TMainWin::SaveFileClick);
    connect(MenuSaveAsFile, &QAction::triggered, this, &TMainWin::MenuSaveAsFileClick);
    connect(MenuExit, &QAction::triggered, this, &TMainWin::MenuExitClick);
    connect(MenuCut, &QAction::triggered, this, &TMainWin::MenuCutClick);
    connect(MenuCopy, &QAction::triggered, this, &TMainWin::MenuCopyClick);
    connect(MenuPaste, &QAction::triggered, this, &TMainWin::MenuPasteClick);
    connect(MenuSelectAll, &QAction::triggered, this, &TMainWin::MenuSelectAllClick);
    connect(MenuRun, &QAction::triggered, this, &TMainWin::RunSimulator);
    connect(MenuStep, &QAction::triggered, this, &TMainWin::StepSimulator);
    connect(MenuStepBack, &QAction::triggered, this, &TMainWin::StepBackSimulator);
    connect(MenuRunBack, &QAction::triggered, this, &TMainWin::RunBackSimulator);
    connect(MenuBreak, &QAction::triggered, this, &TMainWin::BreakSimulator);
    connect(MenuReset, &QAction::triggered, this, &TMainWin::ClearSimulator);
    connect(MenuTrace, &QAction::triggered, this, &TMainWin::MenuTraceClick);
    connect(MenuWWWHelp, &QAction::triggered, this, &TMainWin::MenuWWWHelpClick);
    for (QAction* entry : {MenuHelpInstructions, MenuHelpSyntax}) {
        connect(entry, &QAction::triggered, this, [this, entry] { HelpMenuItemClick(entry); });
    }
    connect(MenuOptions, &QAction::triggered, this, &TMainWin::MenuOptionsClick);
    connect(MenuAbout, &QAction::triggered, this, &TMainWin::MenuAboutClick);
    connect(MenuClearMemory, &QAction::triggered, this, &TMainWin::ClearMainMemory);
    connect(MenuClearRegisters, &QAction::triggered, this, &TMainWin::ClearRegisters);

    // "&Run" is both a menu title and a button: Alt+R clicks the button, Alt and then R
    // opens the menu. Qt alone would take turns between the two.
    menuBar()->installEventFilter(this);
    for (QPushButton* button : centralWidget()->findChildren<QPushButton*>())
        button->installEventFilter(this);
}

void TMainWin::PlaceControls() {
    // The arrangement is fixed at 100 % and scaled by the zoom; sizes follow the grids,
    // which grow with their font.
    const auto Z = Zoomed;
    auto centreOn = [Z](QWidget* w, int centreX, int top) {
        const int width = w->sizeHint().width();
        w->setGeometry(Z(centreX) - width / 2, Z(top), width, Z(20));
    };
    centreOn(LabelMem, 247, 8);
    centreOn(LabelReg, 522, 8);

    MainMemory->setGeometry(QRect(QPoint(Z(46), Z(47)), MainMemory->sizeHint()));
    Registers->setGeometry(QRect(QPoint(Z(486), Z(47)), Registers->sizeHint()));
    SysRegs->setGeometry(QRect(QPoint(Z(542), Z(47)), SysRegs->sizeHint()));

    const QRect cell0 = MainMemory->CellRect(0, 0);
    const int colPitch = MainMemory->CellRect(1, 0).left() - cell0.left();
    const int rowPitch = MainMemory->CellRect(0, 1).top() - cell0.top();
    LabelsMem1->move(MainMemory->x() + cell0.left(), Z(32));
    LabelsMem1->SetCells({0, 0}, colPitch, {cell0.width(), Z(15)});
    LabelsMem2->move(Z(24), MainMemory->y() + cell0.top());
    LabelsMem2->SetCells({0, 0}, rowPitch, {Z(22), cell0.height()});
    const QRect reg0 = Registers->CellRect(0, 0);
    LabelsReg1->move(Registers->x() - Z(22), Registers->y() + reg0.top());
    LabelsReg1->SetCells({0, 0}, Registers->CellRect(0, 1).top() - reg0.top(),
                         {Z(22), reg0.height()});
    const QRect sys0 = SysRegs->CellRect(0, 0);
    LabelsReg2->move(SysRegs->x() - Z(22), SysRegs->y() + sys0.top());
    LabelsReg2->SetCells({0, 0}, SysRegs->CellRect(0, 1).top() - sys0.top(),
                         {Z(22), sys0.height()});
    ZeroPC->setGeometry(SysRegs->geometry().right() + Z(6), Z(47), Z(25), Z(19));

    const int buttonsX = Z(528);
    const int tops[] = {96, 128, 184, 216, 248, 280};
    QPushButton* const column[] = {OpenButton, SaveButton,  RunButton,
                                   StepButton, BreakButton, ResetButton};
    for (int i = 0; i < 6; ++i) column[i]->setGeometry(buttonsX, Z(tops[i]), Z(81), Z(25));

    const int lowerTop = std::max(Z(312), MainMemory->geometry().bottom() + Z(6));
    DisasmWin->setGeometry(Z(24), lowerTop, Z(425), Z(89));
    OutputBox->setGeometry(Z(456), lowerTop, Z(153), Z(57));
    const int outline = Z(1);
    OutputFrame->setLineWidth(outline);
    OutputFrame->setGeometry(OutputBox->geometry().adjusted(-outline, -outline, outline, outline));
    FitOutputFont();
    AssemblerButton->setGeometry(Z(456), lowerTop + Z(64), Z(65), Z(25));
    ViewAsmButton->setGeometry(buttonsX, lowerTop + Z(64), Z(81), Z(25));
    Line1->setGeometry(0, 0, Z(632), Z(2));

    // The study panels, those shown, one below the other.
    int bottom = lowerTop + Z(89);
    for (QFrame* panel : {static_cast<QFrame*>(ExplainPanel), static_cast<QFrame*>(PredictPanel)}) {
        if (panel->isHidden()) continue;
        panel->setGeometry(Z(24), bottom + Z(6), Z(585), panel->sizeHint().height());
        bottom = panel->geometry().bottom();
    }
    const int clientHeight = bottom + Z(6);
    // The status bar keeps the height of its tallest panel until it next lays itself out;
    // it must do so now, or zooming back would leave the window taller than before.
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(StatusBar, &relayout);
    setFixedSize(Z(632),
                 menuBar()->sizeHint().height() + clientHeight + StatusBar->sizeHint().height());
    const QScreen* screen = this->screen();
    if (screen && !isVisible()) move(screen->availableGeometry().center() - rect().center());
}

// The largest size of the terminal face (at the zoom) that shows 4 rows of 19 columns in
// the box.
void TMainWin::FitOutputFont() {
    QFont face = OutputBox->font();
    for (int pixels = Zoomed(13); pixels > Zoomed(6); --pixels) {
        face.setPixelSize(pixels);
        OutputBox->setFont(face);
        OutputBox->CalcWinSize();
        if (OutputBox->Columns() >= 19 && OutputBox->Rows() >= 4) return;
    }
}

// The change events of the grids go to the simulation, which tells the handlers.
void TMainWin::ConnectGrids() {
    MainMemory->OnSelectCell = [this](THexGrid*, int col, int row, bool&) {
        panels_[0]->setText(QString("Address: %1").arg(16 * row + col));
    };
    MainMemory->OnSelChanged = [this](THexGrid*, int selStart, int selEnd) {
        MainMemorySelChanged(selStart, selEnd);
    };
    // Registers and PC/IR never keep a selection.
    const auto HexGridNoSelection = [](THexGrid* sender, int selStart, int selEnd) {
        if (selStart < 0 && selEnd < 0) return;
        sender->SetSelStart(-1);
        sender->SetSelEnd(-1);
    };
    Registers->OnSelChanged = HexGridNoSelection;
    SysRegs->OnSelChanged = HexGridNoSelection;
}

// ---------------------------------------------------------------------------------------
// State shown in the window

void TMainWin::SetMemModified(bool flag) {
    if (flag == memModified_) return;
    memModified_ = flag;
    MainMemory->SetModified(flag);
    SaveButton->setEnabled(flag);
    MenuSaveFile->setEnabled(flag);
    panels_[1]->setText(flag ? "Modified" : "");
}

void TMainWin::SetStatus(const TRunStatus& status) {
    SetStatus(QString::fromStdString(status.Text),
              status.Tone == TStatusTone::Running ? TThemeColour::StatusRunning
              : status.Tone == TStatusTone::Alert ? TThemeColour::StatusStopped
                                                  : TThemeColour::StatusReady);
}

void TMainWin::SetStatus(const QString& text, TThemeColour colour) {
    // Going back many steps sets the same status for each; a new palette each time costs.
    const QColor shown = ThemeColour(colour);
    if (colour == statusColour_ && text == panels_[2]->text() &&
        panels_[2]->palette().color(QPalette::WindowText) == shown)
        return;
    statusColour_ = colour;
    QPalette palette = panels_[2]->palette();
    palette.setColor(QPalette::WindowText, shown);
    panels_[2]->setPalette(palette);
    panels_[2]->setText(text);
    statusVoice_->Changed();
}

QString TMainWin::PanelText(int panel) const {
    return panels_[panel]->text();
}

void TMainWin::SetCaption(const QString& file) {
    setWindowTitle(file.isEmpty() ? Caption : Caption + " - " + file);
    setWindowFilePath(file);  // the printed trace's title
}
