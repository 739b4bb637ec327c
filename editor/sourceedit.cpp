#include "editor/sourceedit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

#include "gui/theme.h"

class TGutter final : public QWidget {
public:
    explicit TGutter(TSourceEdit& edit) : QWidget(&edit), edit_(edit) {
        setObjectName(QStringLiteral("Gutter"));
    }

protected:
    void paintEvent(QPaintEvent* event) override { edit_.PaintGutter(event); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) edit_.GutterPress(event->position().toPoint());
    }

private:
    TSourceEdit& edit_;
};

TSourceEdit::TSourceEdit(QWidget* parent) : QPlainTextEdit(parent), gutter_(new TGutter(*this)) {
    setViewportMargins(GutterWidth, 0, 0, 0);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy)
            gutter_->scroll(0, dy);
        else
            gutter_->update(0, rect.y(), gutter_->width(), rect.height());
    });
    FollowTheme(this, [this] {
        ApplyMark();
        gutter_->update();
    });
}

void TSourceEdit::SetMarkedLine(int line, TLineMark kind, bool reveal) {
    const QTextBlock block = document()->findBlockByNumber(line);
    markedLine_ = block.isValid() ? line : -1;
    markKind_ = kind;
    ApplyMark();
    if (markedLine_ < 0 || !reveal) return;
    // Without wrapping, the vertical scroll bar counts lines.
    QScrollBar* bar = verticalScrollBar();
    const int shown = std::max(1, viewport()->height() / fontMetrics().height());
    if (line < bar->value() || line >= bar->value() + shown)
        bar->setValue(std::max(0, line - shown / 2));
}

void TSourceEdit::SetHollow(bool hollow) {
    if (hollow == hollow_) return;
    hollow_ = hollow;
    ApplyMark();
    gutter_->update();
}

QColor TSourceEdit::MarkColour() const {
    return ThemeColour(markKind_ == TLineMark::Current ? TThemeColour::SourceMark
                                                       : TThemeColour::SourceLastMark);
}

// A solid mark is the line's background; a hollow one is drawn as an outline over the text.
void TSourceEdit::ApplyMark() {
    QList<QTextEdit::ExtraSelection> selections;
    if (markedLine_ >= 0 && !hollow_) {
        QTextEdit::ExtraSelection mark;
        mark.format.setBackground(MarkColour());
        if (const QColor text = ThemeColour(TThemeColour::SourceMarkText); text.isValid())
            mark.format.setForeground(text);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        mark.cursor = QTextCursor(document()->findBlockByNumber(markedLine_));
        selections << mark;
    }
    setExtraSelections(selections);
    viewport()->update();
}

void TSourceEdit::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    if (markedLine_ < 0 || !hollow_) return;
    const QTextBlock block = document()->findBlockByNumber(markedLine_);
    if (!block.isValid()) return;
    QPainter painter(viewport());
    const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
    QPen pen(MarkColour().darker(150), 2, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(QRectF(1, box.top() + 1, viewport()->width() - 2, box.height() - 2));
}

void TSourceEdit::UpdateGutter() {
    gutter_->update();
}

void TSourceEdit::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    gutter_->setGeometry(area.left(), area.top(), GutterWidth, area.height());
}

void TSourceEdit::PaintGutter(QPaintEvent* event) {
    QPainter painter(gutter_);
    painter.fillRect(event->rect(), ThemeColour(TThemeColour::Gutter));
    painter.setPen(palette().color(QPalette::Mid));  // the gutter's edge against the text
    painter.drawLine(GutterWidth - 1, event->rect().top(), GutterWidth - 1, event->rect().bottom());
    if (!HasDot) return;
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor dot = ThemeColour(TThemeColour::BreakpointDot);
    if (hollow_) {
        painter.setPen(QPen(dot, 2));
        painter.setBrush(Qt::NoBrush);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(dot);
    }
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(contentOffset());
        if (box.top() > event->rect().bottom()) break;
        if (!block.isVisible() || !HasDot(block.blockNumber())) continue;
        const qreal diameter = std::min<qreal>(GutterWidth - 4, box.height() - 2);
        painter.drawEllipse(QRectF((GutterWidth - diameter) / 2,
                                   box.top() + (box.height() - diameter) / 2, diameter, diameter));
    }
}

void TSourceEdit::GutterPress(QPoint pos) {
    if (!GutterClicked) return;
    const QTextBlock block = cursorForPosition(QPoint(0, pos.y())).block();
    if (block.isValid() &&
        blockBoundingGeometry(block).translated(contentOffset()).bottom() >= pos.y())
        GutterClicked(block.blockNumber());
}
