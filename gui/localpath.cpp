#include "gui/localpath.h"

#include <QFile>

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromLocalPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString FileErrorText(const std::exception& error) {
    return QFile::decodeName(error.what());
}
