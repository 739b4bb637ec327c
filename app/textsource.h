#pragma once
// A read-only byte stream over a zero-terminated text that stays in memory. The help
// viewer loads its topics through it. The text is borrowed: the stream never copies
// or frees it, so the text must outlive the stream.

#include <cstdint>

enum class TSeekOrigin { Beginning, Current, End };

class TTextSource {
public:
    explicit TTextSource(const char* text);

    // Copies up to count bytes from the current position; returns how many (0 at the end).
    std::int64_t Read(char* buffer, std::int64_t count);
    // The stream is read-only: writes nothing and returns 0.
    std::int64_t Write(const char* buffer, std::int64_t count);
    // Moves to offset from the beginning, from the current position, or counted back from
    // the end. A position outside 0..Size() (or an unknown origin) gives -1 and leaves
    // the position where it was; otherwise the new position is returned.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);

    std::int64_t Size() const { return size_; }
    std::int64_t Position() const { return position_; }

private:
    const char* text_;
    std::int64_t size_;
    std::int64_t position_ = 0;
};
