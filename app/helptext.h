#pragma once
// The pieces every help topic's rich text is made of.

#include <QString>

inline QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

inline QString Code(const QString& text) {
    return "<code>" + Escaped(text) + "</code>";
}

inline QString Paragraph(const QString& html) {
    return "<p>" + html + "</p>";
}
