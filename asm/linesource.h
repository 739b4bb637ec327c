#pragma once
// Where the assembler reads its text from: a numbered sequence of lines of 8-bit
// characters. The editor window implements this over its text control; the command-line
// tool and the tests use the in-memory form below.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLineSource {
public:
    virtual ~TLineSource() = default;
    virtual int LineCount() const = 0;
    // Line i (0-based) without its line terminator. The view only has to stay valid until
    // the next call on this source; the parser copies it at once.
    virtual std::string_view LineText(int i) const = 0;
    // Character offset of the first character of line i in the whole text.
    virtual std::int64_t LineOffset(int i) const = 0;
};

// A whole text held in memory. Lines end in LF or CR LF; a terminator after the last line
// ends that line rather than starting an empty one, so "" has no lines and "a\n" one.
class TMemoryTextSource final : public TLineSource {
public:
    explicit TMemoryTextSource(std::string text = {});

    int LineCount() const override { return static_cast<int>(starts_.size()); }
    std::string_view LineText(int i) const override;
    std::int64_t LineOffset(int i) const override { return starts_[i]; }

    const std::string& Text() const { return text_; }

private:
    std::string text_;
    std::vector<std::int64_t> starts_;   // offset of each line's first character
    std::vector<std::int64_t> lengths_;  // characters before the terminator
};
