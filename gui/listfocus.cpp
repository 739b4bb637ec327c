#include "gui/listfocus.h"

#include <QAccessible>
#include <QEvent>
#include <QListWidget>
#include <QTimer>

#include "controls/gridaccess.h"

namespace {

void AnnounceCurrent(QListWidget& list) {
    if (!list.hasFocus() || list.currentRow() < 0 || !AnnouncementsHeard()) return;
    QAccessibleEvent event(&list, QAccessible::Focus);
    event.setChild(list.currentRow());
    Announce(&event);
}

class TListFocus final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A list being destroyed is no QListWidget any more.
        auto* list = qobject_cast<QListWidget*>(watched);
        if (!list) return false;
        if (event->type() == QEvent::FocusIn) {
            // Said after the list's own focus, which the toolkit tells once this event is
            // handled: a screen reader speaks the last of the two.
            QTimer::singleShot(0, list, [list] { AnnounceCurrent(*list); });
            const int row = SelectedRow(*list);
            if (row < 0 || list->currentRow() == row) return false;
            // Taking focus never scrolls: a click lands on the line it was aimed at.
            const bool autoScroll = list->hasAutoScroll();
            list->setAutoScroll(false);
            list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
            list->setAutoScroll(autoScroll);
        } else if (event->type() == QEvent::FocusOut) {
            list->selectionModel()->clearCurrentIndex();
        }
        return false;
    }
};

}  // namespace

void CurrentOnlyWithFocus(QListWidget& list) {
    list.installEventFilter(new TListFocus(&list));
}

int SelectedRow(const QListWidget& list) {
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.front());
}

void SelectRow(QListWidget& list, int row) {
    if (list.hasFocus()) {
        list.setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        return;
    }
    // Without focus the row is only selected: the list's accessibility tells a screen reader
    // that every new current row has the focus, even for a moment.
    QListWidgetItem* item = list.item(row);
    if (!item) {
        list.clearSelection();
        return;
    }
    list.selectionModel()->select(list.indexFromItem(item), QItemSelectionModel::ClearAndSelect);
    list.scrollToItem(item);
}
