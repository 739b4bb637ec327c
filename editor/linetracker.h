#pragma once
// What the editor knows about each text line, kept with the line as text is typed, pasted,
// deleted or undone above it: which line of the last assembly it is (so that it keeps
// that line's addresses until the next Assemble) and whether it carries a breakpoint dot.

#include <QObject>
#include <vector>

class QTextDocument;

struct TTrackedLine {
    int Assembled = -1;  // the line it was in the last assembly; -1: typed since
    bool Dot = false;

    bool operator==(const TTrackedLine&) const = default;
};

// An edit replaced `removed` line breaks after line `first` with `added` ones; headKept
// tells whether text of line `first` before the edit's start is still in front of it. The
// lines in the replaced range keep their values in order from the side that kept its text
// (the front, or the back when the edit began at the start of a line), and new ones are
// blank.
void ShiftLines(std::vector<TTrackedLine>& lines, int first, int removed, int added, bool headKept);

class TLineTracker : public QObject {
public:
    explicit TLineTracker(QTextDocument& document);

    std::vector<TTrackedLine>& Lines() { return lines_; }
    const std::vector<TTrackedLine>& Lines() const { return lines_; }
    // Every line is its own line of an assembly just made, keeping its dot.
    void MarkAssembled();
    // A new text: no line was assembled and none has a dot.
    void Reset();

private:
    void ContentsChange(int position, int removed, int added);

    QTextDocument& document_;
    std::vector<TTrackedLine> lines_;
};
