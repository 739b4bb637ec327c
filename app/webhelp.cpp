#include "app/webhelp.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "gui/shellopen.h"

int OpenWebHelp(const QString& address) {
    if (address.trimmed().isEmpty()) return WebHelpFileNotFound;
    const QUrl url = QUrl::fromUserInput(address, QDir::currentPath());
    if (url.isLocalFile()) {
        const QFileInfo file(url.toLocalFile());
        if (!file.exists()) return file.dir().exists() ? WebHelpFileNotFound : WebHelpPathNotFound;
        if (!file.isReadable()) return WebHelpAccessDenied;
    }
    return ShellOpen(url) ? WebHelpOpened : WebHelpNoAssociation;
}

QString WebHelpErrorText(int code) {
    switch (code) {
        case WebHelpFileNotFound:
            return "The specified file was not found.";
        case WebHelpPathNotFound:
            return "The specified path was not found.";
        case WebHelpAccessDenied:
            return QString("The operating system ") + "denied access to the specified file.";
        case WebHelpNoAssociation:
            return QString("There is no application ") +
                   "associated with the given filename extension.";
        default:
            return {};
    }
}
