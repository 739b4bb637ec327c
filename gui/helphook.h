#pragma once
// The application's one help hook. Every window, control and menu entry that offers
// help carries its help context number in the dynamic property HelpContextProperty; a control
// without one shows the help of the nearest parent that has one.
//
// In windows that offer context help (those with the context-help window hint): F1
// asks for the help of the focused control, or of the highlighted entry of an open
// menu; Shift+F1 or the title bar's "?" button enters "What's This?" mode, and the next
// click asks for the help of the clicked control (disabled ones included). Esc leaves
// the mode.
//
// The added commands and windows (IsAddedContext) answer F1 in every
// window, so that the assembler editor's added menus have help too.

#include <QObject>

#include <functional>

#include "gui/helpcontexts.h"

class QWidget;

// The one help command that shows a topic: the context pop-up.
inline constexpr int HelpContextPopup = 8;

class THelpHook : public QObject {
    Q_OBJECT
public:
    // Answers a help request: only the context pop-up command is handled, by opening a
    // new help viewer on the context; any other command is not handled (false).
    bool FormHelp(int command, int context);

    // The help viewers live with the application's windows; they install their opener
    // here, so the windows that ask for help need not know them.
    void SetViewerOpener(std::function<void(int context)> opener) {
        viewerOpener_ = std::move(opener);
    }

    // Starts catching F1 and Shift+F1 in the whole application.
    void Install();

    bool InWhatsThisMode() const { return whatsThisMode_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EnterWhatsThisMode();
    void LeaveWhatsThisMode();

    bool whatsThisMode_ = false;
    std::function<void(int context)> viewerOpener_;
};

// The hook of this run.
THelpHook& HelpHook();

// The help context of a widget: its own, else that of the nearest parent with one; for
// an open menu, that of its highlighted entry. 0 when there is none.
int HelpContextOf(QWidget* widget);
// The help context of a widget at a point (a menu's entry under the pointer).
int HelpContextAt(QWidget* widget, const QPoint& position);

// Whether the window holding the widget offers context help.
bool OffersContextHelp(QWidget* widget);
