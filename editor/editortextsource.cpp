#include "editor/editortextsource.h"

#include <QTextBlock>
#include <QTextDocument>

#include "core/cp437.h"

std::string LineToCp437(const QString& line) {
    return EditorTextToCp437(line.toStdString());
}

int TEditorTextSource::LineCount() const {
    return document_.blockCount();
}

std::string_view TEditorTextSource::LineText(int i) const {
    line_ = LineToCp437(document_.findBlockByNumber(i).text());
    return line_;
}

std::int64_t TEditorTextSource::LineOffset(int i) const {
    return document_.findBlockByNumber(i).position();
}
