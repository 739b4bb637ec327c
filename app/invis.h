#pragma once
// A borderless, see-through overlay that catches one click over the main window and
// shows the help of the control under it; any key or click closes it.

#include <QPointer>
#include <QWidget>

class TInvisForm : public QWidget {
    Q_OBJECT
public:
    TInvisForm();

    // Covers mainWindow exactly, shows itself and gives the focus back to mainWindow.
    void ShowOver(QWidget* mainWindow);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPointer<QWidget> mainWindow_;
};
