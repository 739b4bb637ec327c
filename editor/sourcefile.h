#pragma once
// Assembly source files on disk: UTF-8 text whose lines end in CR LF (CR or LF alone
// are read as line ends too). A file that is not UTF-8 is read as code page 437, byte for
// byte, as the assembler reads it. Writing is atomic: a failed write leaves the old file
// whole.

#include <QString>
#include <QStringList>

// The file's text with every line end as "\n". Throws EFileError with the text shown to
// the user when the file cannot be read.
QString ReadSourceText(const QString& name);

// Writes the lines, each but the last followed by CR LF. Throws EFileError.
void WriteSourceText(const QString& name, const QStringList& lines);
