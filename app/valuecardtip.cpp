#include "app/valuecardtip.h"

#include <QHelpEvent>
#include <QToolTip>

#include "controls/hexgrid.h"
#include "core/simulation.h"

namespace {

// The card's lines as tooltip rich text: the first line bold, spacing kept, every
// character escaped.
QString ValueCardHtml(const std::vector<std::string>& lines) {
    QString html = "<p style=\"white-space:pre\">";
    for (size_t i = 0; i < lines.size(); ++i) {
        const QString line = QString::fromStdString(lines[i]).toHtmlEscaped();
        if (i > 0) html += "<br>";
        html += i == 0 ? "<b>" + line + "</b>" : line;
    }
    return html + "</p>";
}

}  // namespace

TValueCardTip::TValueCardTip(const TSimulation& simulation, QObject* parent)
    : QObject(parent), sim_(simulation) {}

void TValueCardTip::Watch(THexGrid* grid, TValueCell cell) {
    grids_.emplace_back(grid, cell);
    grid->installEventFilter(this);
}

bool TValueCardTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    for (const auto& [grid, cell] : grids_) {
        if (grid != watched) continue;
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = grid->IndexAt(help->pos());
        if (index < 0) break;
        const std::vector<std::string> lines =
            ValueCard(sim_.Stores(), sim_.History(), cell, index);
        if (lines.empty()) break;  // no value to explain: the grid's own hint, if any
        // Bound to the cell, so that the card goes when the mouse leaves it.
        const QRect rect = grid->CellRect(index % grid->ColCount(), index / grid->ColCount());
        QToolTip::showText(help->globalPos(), ValueCardHtml(lines), grid, rect);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
