// The main window's Help menu: help topics, the options dialog and the about box.

#include <QAction>

#include "app/about.h"
#include "app/mainwin.h"
#include "app/optdia.h"
#include "gui/helphook.h"

void TMainWin::HelpMenuItemClick(QAction* sender) {
    HelpHook().FormHelp(HelpContextPopup, sender->property(HelpContextProperty).toInt());
}

void TMainWin::MenuOptionsClick() {
    (new TOptionsDialog(this))->exec();
}

void TMainWin::MenuAboutClick() {
    (new TAboutForm(this))->show();
}
