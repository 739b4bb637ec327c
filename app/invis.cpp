#include "app/invis.h"

#include <QMouseEvent>

#include "gui/helphook.h"

TInvisForm::TInvisForm()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("InvisForm");
    setWindowTitle("HelpCatcher");
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::WhatsThisCursor);
    resize(143, 97);
}

void TInvisForm::ShowOver(QWidget* mainWindow) {
    mainWindow_ = mainWindow;
    setGeometry(mainWindow->geometry());
    show();
    mainWindow->activateWindow();
}

void TInvisForm::keyPressEvent(QKeyEvent*) {
    close();
}

void TInvisForm::mousePressEvent(QMouseEvent* event) {
    if (mainWindow_) {
        const QPoint point = mainWindow_->mapFromGlobal(event->globalPosition().toPoint());
        QWidget* control = mainWindow_->childAt(point);
        QWidget* target = control ? control : mainWindow_.data();
        HelpHook().FormHelp(HelpContextPopup,
                            HelpContextAt(target, target->mapFrom(mainWindow_, point)));
    }
    close();
}
