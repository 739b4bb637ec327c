#include "gui/debugcommands.h"

#include <QAction>
#include <QKeySequence>
#include <iterator>

namespace {

struct TDebugCommandText {
    TDebugCommand Command;
    const char* Name;
    const char* Caption;
    const char* Key;
    const char* Hint;
};

// Break's key is free in every window: Escape is the cell editor's and closes the trace.
constexpr TDebugCommandText Commands[] = {
    {TDebugCommand::Step, "MenuStep", "&Step", "F8", "Execute one instruction"},
    {TDebugCommand::StepBack, "MenuStepBack", "Step &Back", "Shift+F8",
     "Take back the last executed instruction"},
    {TDebugCommand::Run, "MenuRun", "&Run", "F9", "Run program in main memory"},
    {TDebugCommand::RunBack, "MenuRunBack", "Run B&ack", "Shift+F9",
     "Take back executed instructions until the start of the history"},
    {TDebugCommand::Break, "MenuBreak", "Break", "Shift+F5", "Pause execution"},
    {TDebugCommand::ToggleBreakpoint, "MenuToggleBreakpoint", "Toggle Brea&kpoint", "F5", ""},
    {TDebugCommand::RunToCursor, "MenuRunToCursor", "Run to C&ursor", "Ctrl+F10",
     "Run until the program reaches the chosen line"},
    {TDebugCommand::RemoveAllBreakpoints, "MenuRemoveAllBreakpoints", "Remove All Breakpoi&nts", "",
     ""},
};

}  // namespace

QAction* NewDebugAction(TDebugCommand command, QObject* parent) {
    const TDebugCommandText* text = std::begin(Commands);
    while (text->Command != command) ++text;
    auto* action = new QAction(QString::fromLatin1(text->Caption), parent);
    action->setObjectName(QString::fromLatin1(text->Name));
    action->setShortcut(QKeySequence(QString::fromLatin1(text->Key)));
    const QString hint = QString::fromLatin1(text->Hint);
    if (!hint.isEmpty()) {
        action->setStatusTip(hint);
        action->setToolTip(hint);
    }
    return action;
}
