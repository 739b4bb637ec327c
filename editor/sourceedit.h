#pragma once
// The editor's text control: a plain text edit with a narrow gutter at the left, holding
// a red dot on the lines that have a breakpoint, and one line that can be marked with a
// full-width background (the line whose code holds PC, or the one that executed last when
// the program ended). While the text differs from the program in memory, the dots and the
// mark are drawn hollow: they stand for where the program will be, not where it is.

#include <QPlainTextEdit>
#include <functional>

enum class TLineMark { Current, LastExecuted };

class TSourceEdit : public QPlainTextEdit {
public:
    static constexpr int GutterWidth = 14;

    explicit TSourceEdit(QWidget* parent = nullptr);

    // Whether line (0-based) shows a dot; asked when the gutter paints.
    std::function<bool(int line)> HasDot;
    // A click in the gutter on line.
    std::function<void(int line)> GutterClicked;

    // Marks line, scrolling it into view when reveal is set; -1 removes the mark.
    void SetMarkedLine(int line, TLineMark kind = TLineMark::Current, bool reveal = true);
    int MarkedLine() const { return markedLine_; }
    TLineMark MarkKind() const { return markKind_; }
    // Dots and mark hollow (outlined) rather than solid.
    void SetHollow(bool hollow);
    bool Hollow() const { return hollow_; }
    void UpdateGutter();

    QWidget* Gutter() const { return gutter_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TGutter;
    void PaintGutter(QPaintEvent* event);
    void GutterPress(QPoint pos);
    void ApplyMark();
    QColor MarkColour() const;

    QWidget* gutter_;
    int markedLine_ = -1;
    TLineMark markKind_ = TLineMark::Current;
    bool hollow_ = false;
};
