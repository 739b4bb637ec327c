#pragma once
// The text of the output window, a small character terminal of a given measure: bytes
// are appended to the current line, which wraps when full (before the next byte, control
// codes included); line feed starts a new line, tab goes to the next multiple of 8,
// backspace removes the last character, code 0 adds nothing, and a new line below the
// last row scrolls the text up. Each write can be taken back exactly.

#include <cstddef>
#include <string>
#include <vector>

class TTerminalText {
public:
    TTerminalText(int columns, int rows);

    void Write(char c);
    // Undoes the last Write exactly (a scrolled-off line comes back); false when there is
    // none to undo: nothing written since ForgetWritten or the last change of measure.
    bool TakeBack();
    void ForgetWritten();

    // A new measure (each at least 1) cuts the lines to it; what was written before
    // can no longer be taken back, as it was laid out in the old one.
    void SetMeasure(int columns, int rows);

    const std::vector<std::string>& Lines() const { return lines_; }
    int CurLine() const { return curLine_; }
    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    // The lines as drawn, each byte as its glyph, joined by line feeds (UTF-8).
    std::string ShownText() const;

private:
    void BreakLine();
    void WriteOne(char c);
    int CurrentLength() const;
    std::string& Current();  // creates the line (and any missing above it)

    std::vector<std::string> lines_;
    int curLine_ = 0;
    int columns_, rows_;

    // For TakeBack: the bytes written since ForgetWritten, and the state before every
    // CheckpointBytes-th of them, so that taking one back replays at most that many.
    struct TCheckpoint {
        std::vector<std::string> Lines;
        int CurLine;
    };
    static constexpr std::size_t CheckpointBytes = 4096;
    static constexpr std::size_t MaxWritten = std::size_t{1} << 24;  // then the older half goes
    std::string written_;
    std::vector<TCheckpoint> checkpoints_;
};
