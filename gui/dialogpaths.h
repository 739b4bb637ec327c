#pragma once
// Where the open and save dialogs start, derived from a reference file name (the
// window's current file, or the last file of its kind).

#include <QString>

// The text before the reference's last directory separator; empty when it has none.
QString DialogFolder(const QString& reference);

// The reference's base name without extension: the text strictly between its last
// separator and its last "."; empty when the "." does not come after the separator.
QString ProposedBaseName(const QString& reference);
