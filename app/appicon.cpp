#include "app/appicon.h"

#include <QDirIterator>
#include <QGuiApplication>

QIcon ApplicationIcon() {
    QIcon icon;
    QDirIterator sizes(":/icon", {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
    while (sizes.hasNext()) icon.addFile(sizes.next());
    return icon;
}

void InstallApplicationIcon() {
    QGuiApplication::setWindowIcon(ApplicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral(QUARZEL_APP_ID));
}
