#include "gui/helphook.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWhatsThis>

namespace {

int OwnContext(const QObject* object) {
    return object ? object->property(HelpContextProperty).toInt() : 0;
}

// A menu is a pop-up window of its own; its help belongs to the window that opened it.
QWidget* OwnerWindow(QWidget* widget) {
    QWidget* window = widget ? widget->window() : nullptr;
    while (window && (window->windowType() == Qt::Popup) && window->parentWidget()) {
        window = window->parentWidget()->window();
    }
    return window;
}

int ContextOfChain(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (const int context = OwnContext(w)) return context;
    }
    return 0;
}

}  // namespace

THelpHook& HelpHook() {
    static THelpHook hook;
    return hook;
}

bool OffersContextHelp(QWidget* widget) {
    const QWidget* window = OwnerWindow(widget);
    return window && window->windowFlags().testFlag(Qt::WindowContextHelpButtonHint);
}

int HelpContextOf(QWidget* widget) {
    if (auto* menu = qobject_cast<QMenu*>(widget); menu && menu->activeAction()) {
        if (const int context = OwnContext(menu->activeAction())) return context;
    }
    return ContextOfChain(widget);
}

int HelpContextAt(QWidget* widget, const QPoint& position) {
    if (auto* menu = qobject_cast<QMenu*>(widget)) {
        if (const int context = OwnContext(menu->actionAt(position))) return context;
    }
    return ContextOfChain(widget);
}

bool THelpHook::FormHelp(int command, int context) {
    if (command != HelpContextPopup) return false;
    if (viewerOpener_) viewerOpener_(context);
    return true;
}

void THelpHook::Install() {
    qApp->installEventFilter(this);
}

void THelpHook::EnterWhatsThisMode() {
    whatsThisMode_ = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void THelpHook::LeaveWhatsThisMode() {
    whatsThisMode_ = false;
    QApplication::restoreOverrideCursor();
}

bool THelpHook::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    switch (event->type()) {
        case QEvent::EnterWhatsThisMode:
            // The title bar's "?" button starts the toolkit's own mode, which only shows
            // tooltip texts; hand over to ours, which shows the help topics.
            if (QWhatsThis::inWhatsThisMode()) {
                QWhatsThis::leaveWhatsThisMode();
                if (!whatsThisMode_) EnterWhatsThisMode();
            }
            return false;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (whatsThisMode_ && key->key() == Qt::Key_Escape) {
                LeaveWhatsThisMode();
                return true;
            }
            if (key->key() != Qt::Key_F1) return false;
            const bool offered = OffersContextHelp(widget);
            if (offered && key->modifiers() == Qt::ShiftModifier) {
                if (!whatsThisMode_) EnterWhatsThisMode();
                return true;
            }
            // An added command has its help in every window, also in one that offers none.
            const int context = HelpContextOf(widget);
            if (key->modifiers() != Qt::NoModifier || (!offered && !IsAddedContext(context)))
                return false;
            FormHelp(HelpContextPopup, context);
            return true;
        }
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            if (!whatsThisMode_) return false;
            const auto* mouse = static_cast<QMouseEvent*>(event);
            LeaveWhatsThisMode();
            if (mouse->button() == Qt::LeftButton && OffersContextHelp(widget)) {
                FormHelp(HelpContextPopup, HelpContextAt(widget, mouse->position().toPoint()));
            }
            return true;
        }
        default:
            return false;
    }
}
