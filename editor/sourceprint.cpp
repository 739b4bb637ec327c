#include "editor/sourceprint.h"

#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

std::unique_ptr<QTextDocument> PrintableCopy(const QTextDocument& document) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    QTextBlock target = copy->begin();
    for (QTextBlock source = document.begin(); source.isValid();
         source = source.next(), target = target.next()) {
        for (const QTextLayout::FormatRange& range : source.layout()->formats()) {
            QTextCursor cursor(copy.get());
            cursor.setPosition(target.position() + range.start);
            cursor.setPosition(target.position() + range.start + range.length,
                               QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(range.format);
        }
    }
    return copy;
}

void PrintSource(const QTextDocument& document, QPrinter& printer) {
    PrintableCopy(document)->print(&printer);
}
