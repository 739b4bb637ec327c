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

// A whole text held in memory. CR LF, LF and a lone CR each end a line, and nothing else
// does; a terminator after the last line ends that line rather than starting an empty one,
// so "" has no lines and "a\n" one. Lines are found by scanning from the nearest of a few
// remembered starts, so the index costs a fraction of the text even for empty lines.
class TMemoryTextSource final : public TLineSource {
public:
    explicit TMemoryTextSource(std::string text = {});

    int LineCount() const override { return lineCount_; }
    std::string_view LineText(int i) const override;
    std::int64_t LineOffset(int i) const override;

    const std::string& Text() const { return text_; }

private:
    static constexpr int LinesPerMark = 64;
    // Makes line i the located one; reading lines in order costs one scan of each.
    void Locate(int i) const;
    // The end of the line starting at start (before its terminator), and where the next
    // line starts.
    std::pair<std::size_t, std::size_t> LineEnd(std::size_t start) const;

    std::string text_;
    bool loneCr_ = false;  // some CR is not followed by LF
    int lineCount_ = 0;
    std::vector<std::size_t> marks_;  // start of line 0, LinesPerMark, 2 * LinesPerMark, ...
    mutable int located_ = -1;
    mutable std::size_t start_ = 0, end_ = 0, next_ = 0;  // of the located line
};
