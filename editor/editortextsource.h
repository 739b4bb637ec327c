#pragma once
// The editor's text as the assembler reads it: one 8-bit line per text line. The text
// control holds Unicode; each line is converted to code page 437 on the way, exactly as
// the command-line tool converts a source file, and every character of the control stays
// one character of the line, so columns are the same on both sides.

#include <QString>
#include <string>

#include "asm/linesource.h"

class QTextDocument;

// One line of the text control as 8-bit text of the same length.
std::string LineToCp437(const QString& line);

class TEditorTextSource final : public TLineSource {
public:
    explicit TEditorTextSource(const QTextDocument& document) : document_(document) {}

    int LineCount() const override;
    std::string_view LineText(int i) const override;
    std::int64_t LineOffset(int i) const override;

private:
    const QTextDocument& document_;
    mutable std::string line_;
};
