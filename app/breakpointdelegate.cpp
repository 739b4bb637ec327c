#include "app/breakpointdelegate.h"

#include <QPainter>
#include <algorithm>
#include <utility>

#include "gui/theme.h"

TBreakpointDelegate::TBreakpointDelegate(std::function<TBreakpointDot(int row)> dotOf,
                                         QObject* parent)
    : QStyledItemDelegate(parent), dotOf_(std::move(dotOf)) {}

void TBreakpointDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem text = option;
    text.rect.setLeft(option.rect.left() + MarginWidth);
    QStyledItemDelegate::paint(painter, text, index);
    const TBreakpointDot kind = dotOf_(index.row());
    if (kind == TBreakpointDot::None) return;
    const int diameter = std::min(MarginWidth - 4, option.rect.height() - 2);
    const QRect dot(option.rect.left() + (MarginWidth - diameter) / 2,
                    option.rect.top() + (option.rect.height() - diameter) / 2, diameter, diameter);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(ThemeColour(TThemeColour::BreakpointDot));
    if (kind == TBreakpointDot::Full)
        painter->drawEllipse(dot);
    else
        painter->drawPie(dot, -90 * 16, 180 * 16);  // the right half: the line's second byte
    painter->restore();
}

QSize TBreakpointDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(MarginWidth, 0);
}
