#pragma once
// The value card as a grid's tooltip: hovering over a memory or register cell, or Ctrl+I on
// the current one, shows what its value means and which step wrote it; a screen reader gets
// the same text as the cell's description. The card is composed only when asked for, so a
// running program pays nothing for it.

#include <QObject>
#include <utility>
#include <vector>

#include "core/valuecard.h"

class THexGrid;
class TSimulation;

class TValueCardTip : public QObject {
    Q_OBJECT
public:
    TValueCardTip(const TSimulation& simulation, QObject* parent);

    // Cards for the cells of grid, read as cell (SysReg: a grid of PC and IR).
    void Watch(THexGrid* grid, TValueCell cell);

    // The card of a cell as lines, empty when its value has nothing to explain.
    std::vector<std::string> Card(TValueCell cell, int index) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Show(THexGrid* grid, TValueCell cell, int index, QPoint at);

    const TSimulation& sim_;
    std::vector<std::pair<THexGrid*, TValueCell>> grids_;
};
