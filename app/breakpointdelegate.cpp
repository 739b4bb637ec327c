#include "app/breakpointdelegate.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "gui/theme.h"

TBreakpointDelegate::TBreakpointDelegate(std::function<bool(int row)> hasDot, QObject* parent)
    : QStyledItemDelegate(parent), hasDot_(std::move(hasDot)) {}

void TBreakpointDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem text = option;
    text.rect.setLeft(option.rect.left() + MarginWidth);
    QStyledItemDelegate::paint(painter, text, index);
    if (!hasDot_(index.row())) return;
    const int diameter = std::min(MarginWidth - 4, option.rect.height() - 2);
    const QRect dot(option.rect.left() + (MarginWidth - diameter) / 2,
                    option.rect.top() + (option.rect.height() - diameter) / 2, diameter, diameter);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(ThemeColour(TThemeColour::BreakpointDot));
    painter->drawEllipse(dot);
    painter->restore();
}

QSize TBreakpointDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(MarginWidth, 0);
}
