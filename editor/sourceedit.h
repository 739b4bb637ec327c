#pragma once
// The editor's text control: a plain text edit with a narrow gutter at the left, holding
// a red dot on the lines that have a breakpoint, and one line that can be marked with a
// full-width background (the line whose code holds PC).

#include <QPlainTextEdit>
#include <functional>

class TSourceEdit : public QPlainTextEdit {
public:
    static constexpr int GutterWidth = 14;

    explicit TSourceEdit(QWidget* parent = nullptr);

    // Whether line (0-based) shows a dot; asked when the gutter paints.
    std::function<bool(int line)> HasDot;
    // A click in the gutter on line.
    std::function<void(int line)> GutterClicked;

    // Marks line, scrolling it into view; -1 removes the mark.
    void SetMarkedLine(int line);
    int MarkedLine() const { return markedLine_; }
    void UpdateGutter();

    QWidget* Gutter() const { return gutter_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TGutter;
    void PaintGutter(QPaintEvent* event);
    void GutterPress(QPoint pos);

    QWidget* gutter_;
    int markedLine_ = -1;
};
