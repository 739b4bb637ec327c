#pragma once
// A small read-only character terminal showing a TTerminalText measured to the client
// area in its font. Bytes 128..255 and control codes show as their code page 437 glyphs.
//
// Write only updates the lines and schedules one repaint, so a program flooding the
// terminal costs little per character.

#include <QBasicTimer>
#include <QColor>
#include <QFrame>
#include <functional>
#include <string>
#include <vector>

#include "core/terminaltext.h"

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

    const std::vector<std::string>& Lines() const { return Text_.Lines(); }
    QString ShownText() const;  // the lines as drawn, joined by line feeds
    int CurLine() const { return Text_.CurLine(); }
    int Columns() const { return Text_.Columns(); }  // at least 1
    int Rows() const { return Text_.Rows(); }        // at least 1

    // Characters per line and lines from the client area and the width and height of
    // "x" in the font; a new measure cuts the lines to it. Write and TakeBack call it
    // again after the font or the size has changed.
    virtual void CalcWinSize();

    QColor Color() const { return Color_; }
    void SetColor(const QColor& color);  // background
    QColor TextColor() const { return TextColor_; }
    void SetTextColor(const QColor& color);

    QSize sizeHint() const override { return {169, 57}; }

    // While quiet() holds (a run) the output is kept, and its end said when it stops holding.
    void SetQuiet(std::function<bool()> quiet) { Quiet_ = std::move(quiet); }

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
    void MeasureIfChanged();
    void SpeakWritten();
    void SayUnsaid();

    TTerminalText Text_{1, 1};
    QSize LaidOutSize_;         // the size CalcWinSize measured
    bool FontChanged_ = false;  // since the last CalcWinSize
    QBasicTimer RepaintTimer_;  // runs while written text waits for its repaint
    std::string Unspoken_;      // written since the last repaint, for a screen reader
    QString Unsaid_;            // the end of what was written since the last notification
    QBasicTimer SayTimer_;      // runs while Unsaid_ waits to be said
    std::function<bool()> Quiet_;
    QColor Color_{64, 64, 64};
    QColor TextColor_{Qt::white};
};
