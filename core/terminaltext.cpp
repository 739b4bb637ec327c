#include "core/terminaltext.h"

#include <algorithm>

#include "core/cp437.h"

namespace {

constexpr int TabWidth = 8;
constexpr unsigned char Backspace = 8, Tab = 9, LineFeed = 10;

}  // namespace

TTerminalText::TTerminalText(int columns, int rows)
    : columns_(std::max(1, columns)), rows_(std::max(1, rows)) {}

void TTerminalText::SetMeasure(int columns, int rows) {
    columns = std::max(1, columns);
    rows = std::max(1, rows);
    if (columns == columns_ && rows == rows_) return;
    columns_ = columns;
    rows_ = rows;
    if (static_cast<int>(lines_.size()) > rows_) lines_.resize(rows_);
    for (std::string& line : lines_)
        if (static_cast<int>(line.size()) > columns_) line.resize(columns_);
    curLine_ = std::min(curLine_, rows_ - 1);
    ForgetWritten();
}

int TTerminalText::CurrentLength() const {
    return curLine_ < static_cast<int>(lines_.size()) ? static_cast<int>(lines_[curLine_].size())
                                                      : 0;
}

std::string& TTerminalText::Current() {
    if (static_cast<int>(lines_.size()) <= curLine_) lines_.resize(curLine_ + 1);
    return lines_[curLine_];
}

// Next row, or scroll when on the last: the top line is lost and its storage reused
// for the new empty bottom line.
void TTerminalText::BreakLine() {
    if (curLine_ < rows_ - 1) {
        ++curLine_;
        Current();
        return;
    }
    Current();
    std::rotate(lines_.begin(), lines_.begin() + 1, lines_.begin() + curLine_ + 1);
    curLine_ = rows_ - 1;
    lines_[curLine_].clear();
}

void TTerminalText::Write(char c) {
    if (written_.size() == MaxWritten) {
        written_.erase(0, MaxWritten / 2);
        checkpoints_.erase(checkpoints_.begin(),
                           checkpoints_.begin() + MaxWritten / 2 / CheckpointBytes);
    }
    if (written_.size() == checkpoints_.size() * CheckpointBytes)
        checkpoints_.push_back({lines_, curLine_});
    written_.push_back(c);
    WriteOne(c);
}

bool TTerminalText::TakeBack() {
    if (written_.empty()) return false;
    written_.pop_back();
    const std::size_t k = written_.size() / CheckpointBytes;
    checkpoints_.resize(k + 1);
    lines_ = checkpoints_[k].Lines;
    curLine_ = checkpoints_[k].CurLine;
    for (std::size_t i = k * CheckpointBytes; i < written_.size(); ++i) WriteOne(written_[i]);
    return true;
}

void TTerminalText::ForgetWritten() {
    written_.clear();
    checkpoints_.clear();
}

void TTerminalText::WriteOne(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (CurrentLength() >= columns_ || code == LineFeed) BreakLine();
    switch (code) {
        case Backspace:
            if (CurrentLength() > 0) Current().pop_back();
            break;
        case Tab:
            // At least one space. With fewer than 8 columns no line ever reaches a tab
            // stop, so the tab then ends at the end of the line instead of forever.
            do {
                WriteOne(' ');
            } while (CurrentLength() % TabWidth != 0 &&
                     !(columns_ < TabWidth && CurrentLength() >= columns_));
            break;
        case LineFeed:
        case 0:
            break;
        default:
            Current().push_back(c);
    }
}

std::string TTerminalText::ShownText() const {
    std::string text;
    for (const std::string& line : lines_) {
        if (&line != &lines_.front()) text += '\n';
        text += Cp437GlyphsToUtf8(line);
    }
    return text;
}
