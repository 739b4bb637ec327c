#include "gui/dialogpaths.h"

#include <QDir>

namespace {

// Position of the last separator, -1 when there is none. On Windows both "/" and "\"
// separate; elsewhere only "/".
qsizetype LastSeparator(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (QDir::separator() == QLatin1Char('\\'))
        return std::max(slash, path.lastIndexOf(QLatin1Char('\\')));
    return slash;
}

}  // namespace

QString DialogFolder(const QString& reference) {
    const qsizetype b = LastSeparator(reference);
    return b < 0 ? QString() : reference.left(b);
}

QString ProposedBaseName(const QString& reference) {
    const qsizetype b = LastSeparator(reference);
    const qsizetype d = reference.lastIndexOf(QLatin1Char('.'));
    return b < d ? reference.mid(b + 1, d - b - 1) : QString();
}
