#pragma once
// The value card as a grid's tooltip: hovering over a memory or register cell shows what
// its value means and which step wrote it. The card is composed only when the tooltip is
// asked for, so a running program pays nothing for it.

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TSimulation& sim_;
    std::vector<std::pair<THexGrid*, TValueCell>> grids_;
};
