#pragma once
// Styles every line of the editor's text by the assembler's own tokens: the parser reads
// the line through the editor's text source, classifies its tokens and merges them into
// runs, and each run gets the format of its highlight style. The styles live in the
// lines' layouts, so styling never edits the text: it moves no caret or selection, marks
// nothing modified and leaves the undo history alone. Qt re-styles every line an edit
// touched, and everything a paste or a load brought in.

#include <QSyntaxHighlighter>
#include <QTextCharFormat>
#include <array>

#include "editor/hlstyles.h"

class TAsmParser;

class TAsmHighlighter final : public QSyntaxHighlighter {
    Q_OBJECT
public:
    TAsmHighlighter(QTextDocument* document, TAsmParser& parser);

    // On: every line is styled by its tokens. Off: every line shows in the text's own
    // (Normal) font. Takes effect at the next ReformatAll.
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }
    // Picks up the current style records and re-styles the whole text.
    void ReformatAll();

protected:
    void highlightBlock(const QString& text) override;

private:
    TAsmParser& parser_;
    bool enabled_ = true;
    std::array<QTextCharFormat, HighlightClassCount> formats_;
};
