#pragma once
// The commands that steer the machine, as every window offers them: the main window's Run
// menu, an assembler editor's Debug menu and the keys of the trace window. Each has one
// caption, key and hint, written here only.

#include <QString>
#include <functional>
#include <vector>

class QAction;
class QObject;

enum class TDebugCommand {
    Step,
    StepBack,
    Run,
    RunBack,
    Break,
    ToggleBreakpoint,
    RunToCursor,
    RemoveAllBreakpoints,
};

// A new action for the command: field name, caption, key and hint; not connected.
QAction* NewDebugAction(TDebugCommand command, QObject* parent);

// What the main window lends the windows that steer its machine: its own actions for the
// commands that mean the same everywhere (Step, Step Back, Run, Run Back, Break), so their
// keys and enabled states are one, and a run that stops before address (Run to Cursor).
struct TDebugSteering {
    std::vector<QAction*> Shared;
    std::function<void(int address)> RunTo;
};
