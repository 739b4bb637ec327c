#include "editor/menukeys.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

void TMenuKeys::Add(QAction* action, QMenu* menu) {
    entries_.push_back({action->shortcut(), action, menu});
    // The table handles the key; Qt's own shortcut map must not fire it a second time
    // (nor skip it for a hidden or disabled entry), so the shortcut stays for display.
    action->setShortcutContext(Qt::WidgetShortcut);
}

void TMenuKeys::Watch(QWidget* widget) {
    widget->installEventFilter(this);
}

const TMenuKeys::TEntry* TMenuKeys::Find(const QKeyEvent& event) const {
    const QKeyCombination combination(event.modifiers() & ~Qt::KeypadModifier,
                                      Qt::Key(event.key()));
    const QKeySequence typed(combination);
    for (const TEntry& entry : entries_)
        if (entry.Key == typed) return &entry;
    return nullptr;
}

void TMenuKeys::Choose(const TEntry& entry) {
    if (entry.Menu) {
        emit entry.Menu->aboutToShow();
        if (!entry.Menu->isEnabled()) return;
    }
    if (entry.Action->isEnabled()) entry.Action->trigger();
}

bool TMenuKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        // Claim the key so that it arrives as a key press instead of a shortcut.
        if (Find(static_cast<QKeyEvent&>(*event))) {
            event->accept();
            return true;
        }
    } else if (event->type() == QEvent::KeyPress) {
        if (const TEntry* entry = Find(static_cast<QKeyEvent&>(*event))) {
            Choose(*entry);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
