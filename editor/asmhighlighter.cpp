#include "editor/asmhighlighter.h"

#include <QTextBlock>

#include "asm/asmparse.h"

namespace {

std::array<QTextCharFormat, HighlightClassCount> CurrentFormats() {
    std::array<QTextCharFormat, HighlightClassCount> formats;
    for (int cls = 0; cls < HighlightClassCount; ++cls)
        formats[size_t(cls)] = HighlightStyle(THighlightClass(cls)).Format();
    return formats;
}

}  // namespace

TAsmHighlighter::TAsmHighlighter(QTextDocument* document, TAsmParser& parser)
    : QSyntaxHighlighter(document), parser_(parser), formats_(CurrentFormats()) {}

void TAsmHighlighter::ReformatAll() {
    formats_ = CurrentFormats();
    rehighlight();
}

void TAsmHighlighter::highlightBlock(const QString&) {
    if (!enabled_) return;
    parser_.ReadLine(currentBlock().blockNumber());
    parser_.Tokenize();
    parser_.AssignStyles();
    for (const Token& run : parser_.Tokens())
        setFormat(run.StartCol, run.EndCol - run.StartCol, formats_[size_t(run.Style)]);
}
