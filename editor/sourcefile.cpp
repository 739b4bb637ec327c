#include "editor/sourcefile.h"

#include "core/atomicfile.h"
#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/readfile.h"
#include "gui/localpath.h"

namespace {

// A source file larger than this is not a program for a 256-byte machine.
constexpr std::size_t MaxSourceBytes = 16 * 1024 * 1024;

// UTF-8, a leading byte order mark dropped; a file that is not valid UTF-8 is taken byte
// for byte as code page 437, as the assembler takes it.
QString DecodeSource(std::string_view bytes) {
    return QString::fromStdString(SourceFileToUtf8(bytes));
}

// The characters the text control would take as line or paragraph ends (and its own frame
// marks) become U+FFFD, so that the control's lines are the file's lines; the assembler
// reads each of them as "?", as it reads any character the code page lacks.
void KeepLinesWhole(QString& text) {
    for (QChar& c : text)
        if (c == QChar::LineSeparator || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) ||
            c == QChar(0xFDD1))
            c = QChar::ReplacementCharacter;
}

}  // namespace

QString ReadSourceText(const QString& name) {
    const std::string bytes = ReadFileStart(LocalPath(name), MaxSourceBytes + 1);
    if (bytes.size() > MaxSourceBytes)
        throw EFileError("The file " + LocalPath(name) +
                         " is too large for an assembly source file.");
    QString text = DecodeSource(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    KeepLinesWhole(text);
    return text;
}

void WriteSourceText(const QString& name, const QStringList& lines) {
    WriteFileAtomically(LocalPath(name), lines.join(QLatin1String("\r\n")).toUtf8().toStdString());
}
