#include "editor/asmhints.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "core/cp437.h"
#include "editor/asmedit.h"
#include "gui/listfocus.h"

namespace {

constexpr int LineRole = Qt::UserRole;
constexpr int ColumnRole = Qt::UserRole + 1;
constexpr int MostRowsShown = 3;

}  // namespace

TAsmHints::TAsmHints(TAssemblerEditor& editor) : QObject(&editor), editor_(editor) {
    HintsLabel = new QLabel(QStringLiteral("Hints"));
    HintsLabel->setObjectName(QStringLiteral("HintsLabel"));
    HintBox = new QListWidget;
    HintBox->setObjectName(QStringLiteral("HintBox"));
    HintBox->setSelectionMode(QAbstractItemView::SingleSelection);
    CurrentOnlyWithFocus(*HintBox);
    HintBox->setFont(editor.ErrorBox->font());
    HintsLabel->setBuddy(HintBox);
    HintsLabel->setIndent(4);
    HintsLabel->hide();
    HintBox->hide();
    // Right under the error list, above the test results.
    editor.listColumn_->insertWidget(1, HintsLabel);
    editor.listColumn_->insertWidget(2, HintBox, 1);
    connect(HintBox, &QListWidget::itemClicked, this, &TAsmHints::GoToHint);
    connect(HintBox, &QListWidget::itemActivated, this, &TAsmHints::GoToHint);
}

void TAsmHints::Show(const std::vector<TAsmWarning>& warnings) {
    HintBox->clear();
    for (const TAsmWarning& w : warnings) {
        auto* item = new QListWidgetItem(QStringLiteral("line %1: %2")
                                             .arg(w.Line + 1)
                                             .arg(QString::fromStdString(Cp437ToUtf8(w.Text))));
        item->setToolTip(item->text());  // a long hint is cut in the list
        item->setData(LineRole, w.Line);
        item->setData(ColumnRole, w.Column);
        HintBox->addItem(item);
    }
    const bool any = !warnings.empty();
    HintsLabel->setVisible(any);
    HintBox->setVisible(any);
    if (!any) return;
    // Room for a few hints and as many errors' rows above them; the text keeps at least half
    // the height.
    const int rows = std::min(HintBox->count(), MostRowsShown);
    const int list = 2 * HintBox->frameWidth() + rows * HintBox->sizeHintForRow(0) +
                     HintBox->horizontalScrollBar()->sizeHint().height();
    const int wanted = 2 * list + HintsLabel->sizeHint().height();
    QList<int> sizes = editor_.BottomSplitter->sizes();
    const int grow = std::min(wanted - sizes[1], sizes[0] / 2);
    if (grow <= 0) return;
    sizes[0] -= grow;
    sizes[1] += grow;
    editor_.BottomSplitter->setSizes(sizes);
}

void TAsmHints::GoToHint(const QListWidgetItem* item) {
    editor_.PlaceCaret(item->data(LineRole).toInt(), item->data(ColumnRole).toInt());
}
