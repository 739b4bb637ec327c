#include "asm/linesource.h"

#include <cstring>
#include <tuple>

TMemoryTextSource::TMemoryTextSource(std::string text) : text_(std::move(text)) {
    const char* const end = text_.data() + text_.size();
    for (const char* cr = text_.data();
         (cr = static_cast<const char*>(std::memchr(cr, '\r', static_cast<std::size_t>(end - cr))));
         ++cr) {
        if (cr + 1 == end || cr[1] != '\n') {
            loneCr_ = true;
            break;
        }
    }
    for (std::size_t start = 0; start < text_.size(); start = LineEnd(start).second) {
        if (lineCount_ % LinesPerMark == 0) marks_.push_back(start);
        ++lineCount_;
    }
}

std::pair<std::size_t, std::size_t> TMemoryTextSource::LineEnd(std::size_t start) const {
    const char* const text = text_.data();
    const std::size_t size = text_.size();
    std::size_t end = size;
    if (!loneCr_) {
        // Every CR is followed by LF, so LF alone ends lines, and memchr finds it fast.
        if (const void* lf = std::memchr(text + start, '\n', size - start))
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - text);
        if (end == size) return {size, size};
        const bool crlf = end > start && text[end - 1] == '\r';
        return {end - (crlf ? 1 : 0), end + 1};
    }
    end = start;
    while (end < size && text[end] != '\n' && text[end] != '\r') ++end;
    if (end == size) return {size, size};
    const bool crlf = text[end] == '\r' && end + 1 < size && text[end + 1] == '\n';
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
