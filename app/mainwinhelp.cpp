// The main window's Help menu: help topics, the options dialog and the about box.

#include <QAction>
#include <QMenu>

#include "app/about.h"
#include "app/mainwin.h"
#include "app/optdia.h"
#include "gui/helphook.h"

void TMainWin::HelpMenuItemClick(QAction* sender) {
    HelpHook().FormHelp(HelpContextPopup, sender->property(HelpContextProperty).toInt());
}

void TMainWin::SetAddedHelpContexts() {
    const auto set = [](QObject* entry, int context) {
        entry->setProperty(HelpContextProperty, context);
    };
    set(MenuStepBack, StepBackContext);
    set(MenuRunBack, RunBackContext);
    set(MenuTrace, TraceWinContext);
    for (QAction* entry : {MenuToggleBreakpoint, MenuRunToCursor, MenuRemoveAllBreakpoints})
        set(entry, BreakpointsContext);
    set(MenuBreak, DebugMenuContext);
    set(SpeedMenu->menuAction(), SpeedContext);
    for (QAction* entry : SpeedActions) set(entry, SpeedContext);
    for (QAction* entry : ViewMenu->actions()) set(entry, ViewMenuContext);
    for (QAction* entry : ThemeMenu->actions()) set(entry, ViewMenuContext);
}

void TMainWin::MenuOptionsClick() {
    (new TOptionsDialog(this))->exec();
}

void TMainWin::MenuAboutClick() {
    (new TAboutForm(this))->show();
}
