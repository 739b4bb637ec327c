#pragma once
// The rows of a list whose cells tell a screen reader that they have keyboard focus.

#include <QAccessible>
#include <QList>
#include <QListWidget>

inline QList<int> FocusedRows(QListWidget& list) {
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(&list)->tableInterface();
    QList<int> rows;
    for (int row = 0; row < list.count(); ++row)
        if (table->cellAt(row, 0)->state().focused) rows << row;
    return rows;
}
