#include "app/labelgrid.h"

#include <QPainter>

TLabelGrid::TLabelGrid(const QStringList& texts, TDirection direction, QWidget* parent)
    : QWidget(parent), texts_(texts), direction_(direction) {
    setFocusPolicy(Qt::NoFocus);
}

void TLabelGrid::SetCells(QPoint first, int pitch, QSize size) {
    first_ = first;
    pitch_ = pitch;
    size_ = size;
    const QRect last = CellRect(static_cast<int>(texts_.size()) - 1);
    resize(last.right() + 1, last.bottom() + 1);
    update();
}

QRect TLabelGrid::CellRect(int i) const {
    const QPoint step = direction_ == TDirection::Across ? QPoint(pitch_, 0) : QPoint(0, pitch_);
    return QRect(first_ + i * step, size_);
}

void TLabelGrid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (int i = 0; i < texts_.size(); ++i)
        painter.drawText(CellRect(i), Qt::AlignCenter, texts_[i]);
}
