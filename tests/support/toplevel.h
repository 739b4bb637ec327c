#pragma once
// Tests find the program's windows the way a user sees them: among the application's
// top-level widgets, by object name.

#include <QApplication>
#include <QList>
#include <QWidget>

// The top-level widgets named name that are a T, shown or not.
template <class T = QWidget>
QList<T*> TopLevelWindows(const QString& name) {
    QList<T*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget); window && window->objectName() == name)
            windows << window;
    }
    return windows;
}

// The one such window, or nullptr when there is none or there are several.
template <class T = QWidget>
T* OnlyTopLevelWindow(const QString& name) {
    const QList<T*> windows = TopLevelWindows<T>(name);
    return windows.size() == 1 ? windows.first() : nullptr;
}
