#include "asm/linesource.h"

#include <tuple>

TMemoryTextSource::TMemoryTextSource(std::string text) : text_(std::move(text)) {
    for (std::size_t start = 0; start < text_.size(); start = LineEnd(start).second) {
        if (lineCount_ % LinesPerMark == 0) marks_.push_back(start);
        ++lineCount_;
    }
}

std::pair<std::size_t, std::size_t> TMemoryTextSource::LineEnd(std::size_t start) const {
    const std::size_t end = text_.find_first_of("\r\n", start);
    if (end == std::string::npos) return {text_.size(), text_.size()};
    const bool crlf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
    return {end, end + (crlf ? 2 : 1)};
}

void TMemoryTextSource::Locate(int i) const {
    if (i == located_) return;
    std::size_t start = next_;  // of the line after the located one (line 0 at first)
    if (i != located_ + 1) {
        start = marks_[static_cast<std::size_t>(i / LinesPerMark)];
        for (int line = i / LinesPerMark * LinesPerMark; line < i; ++line)
            start = LineEnd(start).second;
    }
    start_ = start;
    std::tie(end_, next_) = LineEnd(start);
    located_ = i;
}

std::string_view TMemoryTextSource::LineText(int i) const {
    Locate(i);
    return std::string_view(text_).substr(start_, end_ - start_);
}

std::int64_t TMemoryTextSource::LineOffset(int i) const {
    Locate(i);
    return static_cast<std::int64_t>(start_);
}
