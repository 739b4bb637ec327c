#include "editor/sourcefile.h"

#include <QFile>
#include <QFileInfo>

#include "core/atomicfile.h"
#include "core/cp437.h"
#include "core/fileerror.h"

namespace {

// A source file larger than this is not a program for a 256-byte machine.
constexpr qint64 MaxSourceBytes = 16 * 1024 * 1024;

std::string LocalPath(const QString& name) {
    return QFile::encodeName(name).toStdString();
}

// A file that is not valid UTF-8 is taken byte for byte as code page 437, as the
// assembler takes it.
QString DecodeSource(const QByteArray& bytes) {
    return QString::fromStdString(
        SourceFileToUtf8(std::string_view(bytes.constData(), size_t(bytes.size()))));
}

}  // namespace

QString ReadSourceText(const QString& name) {
    QFile file(name);
    if (QFileInfo(name).isDir() || !file.open(QIODevice::ReadOnly))
        throw EFileError("Cannot open file " + name.toStdString());
    if (file.size() > MaxSourceBytes)
        throw EFileError("The file " + name.toStdString() +
                         " is too large for an assembly source file.");
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw EFileError("Stream read error");
    QString text = DecodeSource(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

void WriteSourceText(const QString& name, const QStringList& lines) {
    WriteFileAtomically(LocalPath(name), lines.join(QLatin1String("\r\n")).toUtf8().toStdString());
}
