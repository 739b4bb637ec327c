#include "gui/panekeys.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QSplitter>
#include <QWidget>

#include "gui/zoom.h"

namespace {

QAction* NewKeyAction(QWidget* window, const char* name, const QKeySequence& key) {
    auto* action = new QAction(window);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

// The pane holding the focus, else -1.
int FocusedPane(const QList<QPointer<QWidget>>& panes) {
    const QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < panes.size(); ++i) {
        if (panes[i] && focus && (focus == panes[i] || panes[i]->isAncestorOf(focus))) return i;
    }
    return -1;
}

void MoveAmongPanes(const QList<QPointer<QWidget>>& panes, int direction) {
    const int count = int(panes.size());
    const int from = FocusedPane(panes);
    for (int step = 1; step <= count; ++step) {
        const int at =
            ((from < 0 ? (direction > 0 ? -1 : 0) : from) + direction * step + count) % count;
        QWidget* pane = panes[at];
        if (pane && pane->isVisible() && pane->isEnabled()) {
            pane->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

}  // namespace

void AddPaneKeys(QWidget* window, const QList<QWidget*>& panes) {
    QList<QPointer<QWidget>> guarded;
    for (QWidget* pane : panes) guarded << pane;
    QObject::connect(NewKeyAction(window, "NextPane", QKeySequence(Qt::Key_F6)),
                     &QAction::triggered, window, [guarded] { MoveAmongPanes(guarded, 1); });
    QObject::connect(NewKeyAction(window, "PreviousPane", QKeySequence(Qt::SHIFT | Qt::Key_F6)),
                     &QAction::triggered, window, [guarded] { MoveAmongPanes(guarded, -1); });
}

void AddSplitterKeys(QWidget* window, QSplitter* splitter) {
    const bool vertical = splitter->orientation() == Qt::Vertical;
    const auto move = [splitter](int pixels) {
        QList<int> sizes = splitter->sizes();
        if (sizes.size() < 2) return;
        // QSplitter keeps each pane at least at its minimum.
        sizes[0] += pixels;
        sizes[1] -= pixels;
        splitter->setSizes(sizes);
    };
    const int step = 16;  // about a line of text at 100 %
    const Qt::Key back = vertical ? Qt::Key_Up : Qt::Key_Left;
    const Qt::Key on = vertical ? Qt::Key_Down : Qt::Key_Right;
    QObject::connect(NewKeyAction(window, "SplitterBack", QKeySequence(Qt::CTRL | Qt::ALT | back)),
                     &QAction::triggered, splitter, [move] { move(-Zoomed(step)); });
    QObject::connect(NewKeyAction(window, "SplitterOn", QKeySequence(Qt::CTRL | Qt::ALT | on)),
                     &QAction::triggered, splitter, [move] { move(Zoomed(step)); });
}
