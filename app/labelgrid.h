#pragma once
// A row or column of fixed caption cells beside a hex grid ("..0", "R0", "PC"); it shows
// text only and never takes the focus or a selection.

#include <QStringList>
#include <QWidget>

class TLabelGrid : public QWidget {
    Q_OBJECT
public:
    enum class TDirection { Across, Down };
    TLabelGrid(const QStringList& texts, TDirection direction, QWidget* parent = nullptr);

    const QStringList& Texts() const { return texts_; }
    // Cell i starts at first + i * pitch along the direction and is size big.
    void SetCells(QPoint first, int pitch, QSize size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect CellRect(int i) const;

    QStringList texts_;
    TDirection direction_;
    QPoint first_;
    int pitch_ = 0;
    QSize size_;
};
