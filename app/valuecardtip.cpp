#include "app/valuecardtip.h"

#include <QAction>
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
    grid->OnDescribeCell = [this, cell](const THexGrid*, int index) {
        QStringList lines;
        for (const std::string& line : Card(cell, index)) lines << QString::fromStdString(line);
        return lines.join('\n');
    };
    auto* show = new QAction(grid);
    show->setObjectName(grid->objectName() + "ShowValueCard");
    show->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    show->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    grid->addAction(show);
    connect(show, &QAction::triggered, this, [this, grid, cell] {
        const int index = grid->Row() * grid->ColCount() + grid->Col();
        const QRect rect = grid->CellRect(grid->Col(), grid->Row());
        Show(grid, cell, index, grid->mapToGlobal(rect.bottomLeft()));
    });
}

std::vector<std::string> TValueCardTip::Card(TValueCell cell, int index) const {
    return ValueCard(sim_.Stores(), sim_.History(), cell, index);
}

bool TValueCardTip::Show(THexGrid* grid, TValueCell cell, int index, QPoint at) {
    const std::vector<std::string> lines = Card(cell, index);
    if (lines.empty()) return false;
    // Bound to the cell, so that the card goes when the mouse leaves it.
    const QRect rect = grid->CellRect(index % grid->ColCount(), index / grid->ColCount());
    QToolTip::showText(at, ValueCardHtml(lines), grid, rect);
    return true;
}

bool TValueCardTip::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    for (const auto& [grid, cell] : grids_) {
        if (grid != watched) continue;
        const auto* help = static_cast<QHelpEvent*>(event);
        const int index = grid->IndexAt(help->pos());
        if (index < 0) break;
        // Nothing to explain: the grid's own hint, if any.
        if (!Show(grid, cell, index, help->globalPos())) break;
        return true;
    }
    return QObject::eventFilter(watched, event);
}
