#include "editor/linetracker.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

void ShiftLines(std::vector<TTrackedLine>& lines, int first, int removed, int added,
                bool headKept) {
    if (lines.empty()) lines.resize(1);  // a document always has a line
    const int oldCount = static_cast<int>(lines.size());
    first = std::clamp(first, 0, oldCount - 1);
    removed = std::clamp(removed, 0, oldCount - 1 - first);
    added = std::max(added, 0);
    const auto begin = lines.begin() + first;
    const std::vector<TTrackedLine> replaced(begin, begin + removed + 1);
    std::vector<TTrackedLine> fresh(static_cast<std::size_t>(added) + 1);
    const std::size_t kept = static_cast<std::size_t>(std::min(removed, added)) + 1;
    for (std::size_t i = 0; i < kept; ++i) {
        if (headKept)
            fresh[i] = replaced[i];
        else
            fresh[fresh.size() - 1 - i] = replaced[replaced.size() - 1 - i];
    }
    lines.erase(begin, begin + removed + 1);
    lines.insert(lines.begin() + first, fresh.begin(), fresh.end());
}

TLineTracker::TLineTracker(QTextDocument& document) : QObject(&document), document_(document) {
    lines_.resize(static_cast<std::size_t>(document.blockCount()));
    connect(&document, &QTextDocument::contentsChange, this, &TLineTracker::ContentsChange);
}

void TLineTracker::MarkAssembled() {
    for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i].Assembled = static_cast<int>(i);
}

void TLineTracker::Reset() {
    lines_.assign(static_cast<std::size_t>(document_.blockCount()), TTrackedLine{});
}

// The characters removed are gone from the document; the line breaks among them follow
// from how many lines were added and how much the line count grew.
void TLineTracker::ContentsChange(int position, int, int added) {
    const int last = std::max(0, document_.characterCount() - 1);
    const QTextBlock start = document_.findBlock(std::min(position, last));
    const int first = start.blockNumber();
    const int addedBreaks =
        document_.findBlock(std::min(position + added, last)).blockNumber() - first;
    const int grew = document_.blockCount() - static_cast<int>(lines_.size());
    ShiftLines(lines_, first, addedBreaks - grew, addedBreaks, position > start.position());
    lines_.resize(static_cast<std::size_t>(document_.blockCount()));  // never out of step
}
