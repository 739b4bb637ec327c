#pragma once
// A small read-only character terminal: bytes are appended to the current line, which
// wraps when full; line feed starts a new line, tab goes to the next multiple of 8,
// backspace removes the last character, and a new line below the last row scrolls the
// text up. Bytes 128..255 and control codes show as their code page 437 glyphs.
//
// Write only updates the lines and schedules one repaint, so a program flooding the
// terminal costs little per character.

#include <QBasicTimer>
#include <QColor>
#include <QFrame>
#include <string>
#include <vector>

class TShowText : public QFrame {
    Q_OBJECT

public:
    explicit TShowText(QWidget* parent = nullptr);

    void Write(char c);
    void Write(const char* text);  // each byte up to the terminating zero

    // Undoes the last Write of one character exactly (a scrolled-off line comes back);
    // false when there is none to undo: nothing written since ForgetWritten, or the
    // layout has changed since.
    bool TakeBack();
    void ForgetWritten();

    const std::vector<std::string>& Lines() const { return Lines_; }
    QString ShownText() const;  // the lines as drawn, joined by line feeds
    int CurLine() const { return CurLine_; }
    int Columns() const { return Columns_; }  // at least 1
    int Rows() const { return Rows_; }        // at least 1

    // Characters per line and lines from the client area and the width and height of
    // "x" in the font. Write calls it again after the font or the size has changed.
    virtual void CalcWinSize();

    QColor Color() const { return Color_; }
    void SetColor(const QColor& color);  // background
    QColor TextColor() const { return TextColor_; }
    void SetTextColor(const QColor& color);

    QSize sizeHint() const override { return {169, 57}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    // Presses, releases and double clicks are swallowed: no caret, selection or menu.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Relayout();
    void BreakLine();
    void WriteOne(char c);
    void SpeakWritten();
    int CurrentLength() const;
    std::string& Current();  // creates the line (and any missing above it)

    std::vector<std::string> Lines_;
    int CurLine_ = 0;
    int Columns_ = 1, Rows_ = 1;
    QSize LaidOutSize_;         // the size CalcWinSize measured
    bool FontChanged_ = false;  // since the last CalcWinSize
    QBasicTimer RepaintTimer_;  // runs while written text waits for its repaint

    // For TakeBack: the bytes written since ForgetWritten, and the state before every
    // CheckpointBytes-th of them, so that taking one back replays at most that many.
    struct TCheckpoint {
        std::vector<std::string> Lines;
        int CurLine;
    };
    static constexpr size_t CheckpointBytes = 4096;
    static constexpr size_t MaxWritten = size_t{1} << 24;  // then the older half goes
    std::string Written_;
    std::vector<TCheckpoint> Checkpoints_;
    std::string Unspoken_;  // written since the last repaint, for a screen reader
    QColor Color_{64, 64, 64};
    QColor TextColor_{Qt::white};
};
