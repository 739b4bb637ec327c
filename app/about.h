#pragma once
// The about box: the program's title, version and legal notice over a picture, with a
// button that opens the program information topic. Modeless; several may be open.

#include <QDialog>
#include <QPixmap>

class QFrame;
class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    // Centred over mainWindow; destroys itself when closed.
    explicit TAboutForm(QWidget* mainWindow);

    // The 427 x 187 background: a light grey field with soft red, green and blue glows; in
    // a dark look the window's colour with fainter glows, in High Contrast plain black.
    static QPixmap BackgroundPicture();

    QLabel* BackGround;
    QLabel* AboutL1;
    QLabel* Versie;
    QLabel* CRight;
    QFrame* Bevel2;
    QPushButton* CloseAboutButton;
    QFrame* Bevel1;
    QPushButton* InfoAboutButton;

private:
    void PlaceControls();
    void CloseAboutButtonClick();
    void InfoAboutButtonClick();
};
