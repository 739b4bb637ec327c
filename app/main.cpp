#include <QApplication>

#include "app/mainwin.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    TMainWin window;
    window.show();
    return app.exec();
}
