#pragma once
// Rewrites the character formats of a rich text document piece by piece: change gets each
// fragment's format and returns true when it changed it, and the change is applied.

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

template <typename TChange>
void RestyleFragments(QTextDocument& document, TChange change) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            QTextCharFormat format = fragment.charFormat();
            if (!change(format)) continue;
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}
