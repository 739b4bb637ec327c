// The main window's View menu: the zoom of every window.

#include <QMenu>
#include <QMenuBar>

#include "app/mainwin.h"
#include "gui/named.h"
#include "gui/zoom.h"

void TMainWin::CreateViewMenu() {
    ViewMenu = Named(new QMenu("&View", this), "ViewMenu", 0);
    ViewMenu->addActions(AddZoomActions(this));
    auto* help = menuBar()->findChild<QMenu*>("HelpMenu", Qt::FindDirectChildrenOnly);
    menuBar()->insertMenu(help ? help->menuAction() : nullptr, ViewMenu);
}
