#pragma once
// Lists that mark their chosen row (PC's line, the error gone to, a test) by selection
// alone. A screen reader takes an item view's current row for the focused control, so such
// a list has a current row only while it has keyboard focus: on focus in the selected row
// becomes current, on focus out the current row goes and the selection stays.

class QListWidget;

void CurrentOnlyWithFocus(QListWidget& list);

// The selected row; -1 when none.
int SelectedRow(const QListWidget& list);
// Selects row alone and scrolls it into view; it is current too while the list has focus.
void SelectRow(QListWidget& list, int row);
