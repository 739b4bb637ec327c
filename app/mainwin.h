#pragma once
// The simulator's main window: the view of one simulation. Main memory, the registers and
// PC/IR are the contents of its three hex grids, which the simulation runs on, and
// OutputBox is the machine's only output device. The other windows (the editors, the
// dialogs, the trace window) use the simulation, never this window; the change handlers
// here, told by the simulation, keep the disassembly list, the output and the modified
// mark in step.

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

#include "core/runstatus.h"
#include "core/simulation.h"
#include "gui/debugcommands.h"
#include "gui/theme.h"

enum class TBreakpointDot;
class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class TDisasmView;
class TExplainPanel;
class THexGrid;
class TLabelGrid;
class TLiveRegion;
class TPredictPanel;
class TRunControl;
class TShowText;

class TMainWin : public QMainWindow, private TSimulationObserver, public TMemoryDocument {
    Q_OBJECT
public:
    explicit TMainWin(QWidget* parent = nullptr);
    ~TMainWin() override;

    // --- the machine and its views ---
    THexGrid* MainMemory;
    THexGrid* Registers;
    THexGrid* SysRegs;
    TShowText* OutputBox;
    QListWidget* DisasmWin;

    // --- other controls ---
    QFrame* Line1;
    QFrame* OutputFrame;  // the output window's outline, where the theme draws it
    QLabel* LabelMem;
    QLabel* LabelReg;
    TLabelGrid* LabelsMem1;
    TLabelGrid* LabelsMem2;
    TLabelGrid* LabelsReg1;
    TLabelGrid* LabelsReg2;
    QPushButton* ZeroPC;
    QPushButton* OpenButton;
    QPushButton* SaveButton;
    QPushButton* RunButton;
    QPushButton* StepButton;
    QPushButton* BreakButton;
    QPushButton* ResetButton;
    QPushButton* AssemblerButton;
    QPushButton* ViewAsmButton;
    QStatusBar* StatusBar;
    TExplainPanel* ExplainPanel;  // under the disassembly list, shown by View > Explain
    TPredictPanel* PredictPanel;  // below, shown in predict mode
    // The last note of the step or run about a classic mistake; hidden while there is none.
    QLabel* NotePanel;

    // --- menus ---
    QAction* MenuOpenFile;
    QAction* MenuSaveFile;
    QAction* MenuSaveAsFile;
    QAction* MenuExit;
    QMenu* EditMenu;
    QAction* MenuCut;
    QAction* MenuCopy;
    QAction* MenuPaste;
    QAction* MenuSelectAll;
    QAction* MenuRun;
    QAction* MenuStep;
    QAction* MenuStepBack;
    QAction* MenuRunBack;
    QAction* MenuBreak;
    QAction* MenuTrace;
    QAction* MenuPredict;
    QAction* MenuReset;
    QAction* MenuToggleBreakpoint;
    QAction* MenuRunToCursor;
    QAction* MenuRemoveAllBreakpoints;
    QMenu* SpeedMenu;
    std::vector<QAction*> SpeedActions;  // full speed first, then slower and slower
    QMenu* ViewMenu;
    QMenu* ThemeMenu;
    QAction* MenuThemeSystem;
    QAction* MenuThemeLight;
    QAction* MenuThemeDark;
    QAction* MenuThemeHighContrast;
    QAction* MenuExplain;
    QAction* MenuHelpInstructions;
    QAction* MenuHelpSyntax;
    QAction* MenuWWWHelp;
    QAction* MenuOptions;
    QAction* MenuAbout;
    QMenu* MainMemoryPopup;
    QAction* MenuClearMemory;
    QMenu* RegistersPopup;
    QAction* MenuClearRegisters;

    // The simulation the window shows, for wiring the other windows to it.
    TSimulation& Simulation() { return *sim_; }

    // --- memory's unsaved state ---
    bool MemModified() const override { return memModified_; }
    void SetMemModified(bool flag);
    const QString& MemFileName() const { return memFileName_; }

    // --- status panels ---
    // The status text in one of the theme's status colours, kept when the theme changes.
    void SetStatus(const QString& text, TThemeColour colour);
    // A run's status in the theme's colour for its tone.
    void SetStatus(const TRunStatus& status);
    QString PanelText(int panel) const;
    QColor StatusColor() const { return ThemeColour(statusColour_); }

    // --- commands ---
    void OpenFileClick();
    // The Open command once the program file is chosen: memory, caption and PC, or the
    // file's error in a box.
    void LoadMemoryFile(const QString& path);
    bool SaveFileClick();  // true when memory was saved
    bool MenuSaveAsFileClick();
    void MenuExitClick();
    void EditMenuClick();
    void MenuCutClick();
    void MenuCopyClick();
    void MenuPasteClick();
    void MenuSelectAllClick();
    void ClearMainMemory();
    void ClearRegisters();
    void RunSimulator();
    void StepSimulator();
    void StepBackSimulator();
    void RunBackSimulator();
    void MenuTraceClick();  // the trace window, opened or brought to the front
    void BreakSimulator();
    void ClearSimulator();
    void ZeroPCClick();
    void ViewAsmButtonClick();
    void MenuWWWHelpClick();
    void HelpMenuItemClick(QAction* sender);  // the topic of the entry's help context
    void MenuOptionsClick();
    void MenuAboutClick();
    void DisasmWinDblClick();
    void AssemblerButtonClick();
    bool Running() const;
    TRunControl& RunControl() { return *run_; }

    // --- breakpoints and run speed ---
    void ToggleBreakpointClick();  // at the selected disassembly line's address
    void RunToCursorClick();       // to the selected disassembly line's address
    // A run that stops before address too (once past its first instruction).
    void RunTo(int address);
    void RemoveAllBreakpoints();
    // Instructions per second, 0 for full speed; kept in the settings.
    void SetRunRate(int perSecond);

    // --- study aids ---
    // The explanation panel; its state is kept in the settings.
    void SetExplainShown(bool shown);
    // Predict mode: Step asks for a prediction first and Run is disabled.
    void SetPredictMode(bool on);
    bool PredictMode() const;

    // --- other windows ---
    // A window asked, newest first, whether it may close before the main window closes;
    // the query answers false to keep the program running.
    void RegisterWindow(QWidget* window, std::function<bool()> closeQuery);
    // Enables the Asm button and the assembly filter of Open; open("") opens a blank editor.
    void EnableAssemblerEditor(std::function<void(const QString& sourceFile)> open);
    // A new assembler editor, on the file unless it is empty; nothing without the hook.
    void OpenAssemblerEditor(const QString& sourceFile);
    // The commands other windows offer to steer the machine.
    TDebugSteering Steering();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void CreateViewMenu();
    void CreateStudyAids();
    // The topics of the entries added to the menus, for F1 on them.
    void SetAddedHelpContexts();
    void ApplyTheme();  // the theme's fixed colours and marks on the controls
    void NameForScreenReaders();
    void ConnectGrids();
    void PlaceControls();
    void FitOutputFont();
    bool FormCloseQuery();
    void FormClose();
    void SaveToName(const QString& name);
    void SetCaption(const QString& file);
    void ShowStepResult(TStepResult result);
    void ShowOutcome(TRunOutcome outcome);
    void StartRun(bool back, int to = -1);
    // Break, Step Back and Run Back as the run and the history allow.
    void EnableDebugCommands();
    void DisasmWinMouseDown(QPoint pos);
    bool DisasmWinKey(const QEvent& event);  // true when it handled the key
    void AssembleAtDisasmLine();
    void CapZoomToScreen();
    bool ClickButtonOfMnemonic(const QKeySequence& key);
    void MainMemoryCellChanged(const TCellChange& change);
    void RegistersCellChanged(const TCellChange& change);
    void SysRegsCellChanged(const TCellChange& change);
    void MainMemorySelChanged(int selStart, int selEnd);
    void CreateBreakpointMenus(QMenu* run);
    void SetUpBreakpoints();
    TBreakpointDot DotOfLine(int row) const;
    void ApplyStoredRate();  // the settings' speed, read after the window was built
    bool DisasmMarginPress(const QEvent& event);  // true when it toggled a breakpoint

    // --- what the simulation tells ---
    void MemoryChanged(const TCellChange& change) override { MainMemoryCellChanged(change); }
    void RegisterChanged(const TCellChange& change) override { RegistersCellChanged(change); }
    void SysRegChanged(const TCellChange& change) override { SysRegsCellChanged(change); }
    void OutputWritten(int value) override;
    void OutputTakenBack() override;
    void ViewsFrozen(bool frozen) override;
    void BulkWrite(bool begins) override;
    void ImageLoaded() override;
    void MemoryCleared() override;
    void BreakpointsChanged() override;
    void BreakpointsRemoved(int count) override;
    void HistoryCleared() override { EnableDebugCommands(); }
    void Stopped(TRunOutcome outcome) override;
    void WentBackTo(long long) override {
        ShowOutcome(TRunOutcome::Limit);
        EnableDebugCommands();
    }
    void Noted(const TRunNote& note) override;
    void ClearNote();  // a new step, run or program
    // --- TMemoryDocument, for the windows that replace memory ---
    void SaveMemory() override { SaveFileClick(); }
    void Activate() override;

    std::unique_ptr<TSimulation> sim_;
    std::unique_ptr<TDisasmView> disasm_;
    std::unique_ptr<TRunControl> run_;
    int bulkTopLine_ = -1;  // the list's first line when a bulk write began
    QLabel* panels_[3];
    TLiveRegion* statusVoice_;  // speaks panel 2
    bool memModified_ = false;
    QString memFileName_;
    TThemeColour statusColour_ = TThemeColour::StatusReady;
    int pc_ = 0;  // the committed PC, as the change handler last saw it
    std::vector<std::pair<QPointer<QWidget>, std::function<bool()>>> windows_;
    std::function<void(const QString&)> openEditor_;
    std::vector<int> memClipboard_;  // the program's own clipboard for memory cells
};
