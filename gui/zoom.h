#pragma once
// One zoom for the whole program. Every window lays itself out in the pixels it has at
// 100 % and passes each of them through Zoomed(); FollowZoom keeps a window's own fonts,
// grid cells and fixed widths at the zoom and calls the window back to re-place its
// controls, so a zoom change reaches every open window at once.

#include <QList>
#include <QObject>
#include <QSize>
#include <functional>

class QAction;
class QTextDocument;
class QWidget;

inline constexpr int ZoomSteps[] = {100, 125, 150, 175, 200, 250, 300};

int ZoomPercent();
// Snaps to the nearest step, no higher than the cap; a change rescales the application font
// and tells every window.
void SetZoomPercent(int percent);
void ZoomIn();   // the next step up, if any
void ZoomOut();  // the next step down, if any

// The highest step at which a window whose client is client at 100 %, with a frame (title
// bar and borders, which the zoom does not change) of frame, fits in a screen's free area
// available; the lowest step when none fits.
int ZoomCap(QSize available, QSize client, QSize frame);
// The highest step the zoom may take (the main window's screen decides); lowering it below
// the zoom lowers the zoom.
int ZoomCapPercent();
void SetZoomCap(int percent);

// A length of the 100 % layout at the current zoom, rounded to the nearest pixel.
int Zoomed(int pixels);

class TZoomNotifier : public QObject {
    Q_OBJECT
signals:
    void Changed();
    void CapChanged();
};
TZoomNotifier& ZoomNotifier();

// Applies the zoom to window now and after each change: explicit font sizes, hex grid cell
// sizes and fixed widths of its controls are scaled from what they were at 100 %, then
// relayout (may be empty) places the controls.
void FollowZoom(QWidget* window, std::function<void()> relayout);

// Scales the margins and spacing of every layout in window from what the style gives at
// 100 % (for a modal dialog, which the zoom cannot change while it is open).
void ZoomLayouts(QWidget* window);

// Gives every piece of a rich text document (a help topic) whose size was set on purpose its
// size at the zoom; the size it was made with is kept in the text, so this can be called
// again after each zoom change.
void ZoomDocument(QTextDocument& document);

// A window's size from one it had at the zoom at (percent), at the current zoom, but no
// larger than the screen's free area.
QSize ZoomedWindowSize(QSize size, int at);

// "Zoom &In" (Ctrl++ and Ctrl+=; it names the cap when there is one: "Zoom &In (max 250 % on
// this screen)"), "Zoom &Out" (Ctrl+-) and "&Actual Size" (Ctrl+0), added to window so their
// keys work there; the caller may also put them in a menu.
QList<QAction*> AddZoomActions(QWidget* window);
