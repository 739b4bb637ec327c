#pragma once
// What the help viewers of a test show, and closing them between tests.

#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>

#include "app/helpdia.h"
#include "gui/helphook.h"
#include "toplevel.h"

// Help requests of every window in the test open viewers, as in the program.
inline const bool helpViewersInstalled = (InstallHelpViewers(), true);

inline QList<THelpDialog*> OpenViewers() {
    QList<THelpDialog*> viewers;
    for (THelpDialog* viewer : TopLevelWindows<THelpDialog>("HelpDialog"))
        if (viewer->isVisible()) viewers << viewer;
    return viewers;
}

inline void CloseAllViewers() {
    for (THelpDialog* viewer : OpenViewers()) viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

inline QString FirstLine(const THelpDialog* viewer) {
    return viewer->HelpText->document()->firstBlock().text();
}

// The title of the one viewer a step opened; empty when it opened none or several.
inline QString OnlyViewerTitle() {
    const QList<THelpDialog*> viewers = OpenViewers();
    return viewers.size() == 1 ? FirstLine(viewers.first()) : QString();
}
