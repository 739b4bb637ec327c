#pragma once
// Assembly source files on disk: UTF-8 text whose lines end in CR LF (LF or a lone CR
// are read as line ends too, and nothing else is, as in the command-line tool). A file that
// is not UTF-8 is read as code page 437, byte for byte, as the assembler reads it. Writing
// is atomic: a failed write leaves the old file whole.

#include <QString>
#include <QStringList>

// The file's text with every line end as "\n"; U+2028 and U+2029, which the text control
// would show as line ends, become U+FFFD. Throws EFileError with the text shown to the user
// when the file cannot be read: not a regular file, larger than 16 MiB, a read error.
QString ReadSourceText(const QString& name);

// Writes the lines, each but the last followed by CR LF. Throws EFileError.
void WriteSourceText(const QString& name, const QStringList& lines);
