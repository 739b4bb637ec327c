#pragma once
// Menu shortcut keys that act exactly as choosing the entry from its menu: the menu's
// own opening handlers run first (so enabled states are fresh), the entry runs only when
// it and its menu are enabled, and the key is consumed whether or not anything happened.
// The text control's own handling of the same keys never sees them.

#include <QKeySequence>
#include <QObject>
#include <vector>

class QAction;
class QMenu;
class QKeyEvent;
class QWidget;

class TMenuKeys : public QObject {
    Q_OBJECT
public:
    explicit TMenuKeys(QObject* parent) : QObject(parent) {}

    // The action's shortcut (shown in the menu) becomes a key of this table; menu is the
    // menu that holds the action, or null for an entry of the menu bar itself.
    void Add(QAction* action, QMenu* menu);
    // Keys typed while widget has the focus are looked up here first.
    void Watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TEntry {
        QKeySequence Key;
        QAction* Action;
        QMenu* Menu;
    };
    const TEntry* Find(const QKeyEvent& event) const;
    static void Choose(const TEntry& entry);

    std::vector<TEntry> entries_;
};
