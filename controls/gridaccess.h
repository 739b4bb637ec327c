#pragma once
// What assistive technology sees of the hex grid and the output terminal: the grid as a
// table whose cells carry their label as name and their shown hex value as text, the
// terminal as text, notifications that say a text. The factory is installed by the first
// control constructed.

#include <functional>

class QAccessibleEvent;
class QString;
class THexGrid;
class QWidget;

void InstallControlsAccessibility();

// Tells a screen reader that the grid's current cell has the focus, or that its value
// changed (old and new text as shown). Cheap when no assistive technology listens.
// Where the announcements go instead of the screen reader bridge (empty: the bridge, and
// only while a screen reader is active).
using TCellAnnouncer = std::function<void(QAccessibleEvent*)>;
void SetCellAnnouncer(TCellAnnouncer announcer);

// True when someone hears announcements; Announce sends one there.
bool AnnouncementsHeard();
void Announce(QAccessibleEvent* event);

void AnnounceCellFocus(THexGrid* grid);
// Says text through a notification of owner's (a widget of no size, made on first use): a
// screen reader speaks a notification when it shows, where it speaks a changed label or
// text only while that has the focus.
void AnnounceNotification(QWidget* owner, const QString& text);
void AnnounceCellText(THexGrid* grid, int index, const QString& oldText);
