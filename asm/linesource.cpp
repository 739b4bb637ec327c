#include "asm/linesource.h"

TMemoryTextSource::TMemoryTextSource(std::string text) : text_(std::move(text)) {
    const std::int64_t size = static_cast<std::int64_t>(text_.size());
    std::int64_t start = 0;
    while (start < size) {
        const std::size_t lf = text_.find('\n', static_cast<std::size_t>(start));
        const std::int64_t end = lf == std::string::npos ? size : static_cast<std::int64_t>(lf);
        const bool crlf =
            end > start && end < size && text_[static_cast<std::size_t>(end - 1)] == '\r';
        starts_.push_back(start);
        lengths_.push_back(end - start - (crlf ? 1 : 0));
        start = end + 1;
    }
}

std::string_view TMemoryTextSource::LineText(int i) const {
    return std::string_view(text_).substr(static_cast<std::size_t>(starts_[i]),
                                          static_cast<std::size_t>(lengths_[i]));
}
