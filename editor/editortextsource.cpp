#include "editor/editortextsource.h"

#include <QTextBlock>
#include <QTextDocument>

#include "core/cp437.h"

std::string LineToCp437(const QString& line) {
    QString text = line;
    // A character outside the Basic Multilingual Plane takes two places in the control;
    // it becomes two "?" (the code page lacks it anyway) so that columns stay aligned.
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isSurrogate()) text[i] = QLatin1Char('?');
    return Utf8ToCp437(text.toStdString()).value_or(std::string(size_t(text.size()), '?'));
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
