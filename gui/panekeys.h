#pragma once
// Keys that move around a window made of panes: F6 and Shift+F6 take the focus to the next
// or previous pane that is shown; Ctrl+Alt+Up and Ctrl+Alt+Down (Left and Right for a
// side-by-side splitter) move a splitter's first handle, as a mouse would drag it.

#include <QList>

class QSplitter;
class QWidget;

void AddPaneKeys(QWidget* window, const QList<QWidget*>& panes);
void AddSplitterKeys(QWidget* window, QSplitter* splitter);
