#pragma once
// Draws the disassembly list with a narrow margin at the left of every line, holding a red
// dot where the line's address has a breakpoint. Item texts stay the plain lines.

#include <QStyledItemDelegate>
#include <functional>

class TBreakpointDelegate : public QStyledItemDelegate {
public:
    static constexpr int MarginWidth = 12;

    // hasDot tells whether the line at row shows a dot.
    TBreakpointDelegate(std::function<bool(int row)> hasDot, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::function<bool(int)> hasDot_;
};
