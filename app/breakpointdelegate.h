#pragma once
// Draws the disassembly list with a narrow margin at the left of every line, holding a red
// dot where the line's address has a breakpoint, half a dot where only its second byte has
// one. Item texts stay the plain lines.

#include <QStyledItemDelegate>
#include <functional>

enum class TBreakpointDot { None, Full, Half };

class TBreakpointDelegate : public QStyledItemDelegate {
public:
    static constexpr int MarginWidth = 12;

    // dotOf tells the dot the line at row shows.
    TBreakpointDelegate(std::function<TBreakpointDot(int row)> dotOf, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    std::function<TBreakpointDot(int)> dotOf_;
};
