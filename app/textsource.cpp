#include "app/textsource.h"

#include <algorithm>
#include <cstring>

TTextSource::TTextSource(const char* text)
    : text_(text), size_(static_cast<std::int64_t>(std::strlen(text))) {}

std::int64_t TTextSource::Read(char* buffer, std::int64_t count) {
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, size_ - position_));
    std::memcpy(buffer, text_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t TTextSource::Write(const char*, std::int64_t) {
    return 0;
}

std::int64_t TTextSource::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t target = -1;
    switch (origin) {
        case TSeekOrigin::Beginning:
            target = offset;
            break;
        case TSeekOrigin::Current:
            target = position_ + offset;
            break;
        case TSeekOrigin::End:
            target = size_ - offset;
            break;
        default:
            return -1;
    }
    if (target < 0 || target > size_) return -1;
    position_ = target;
    return position_;
}
