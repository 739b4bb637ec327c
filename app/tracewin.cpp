#include "app/tracewin.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/tracemodel.h"
#include "app/traceprint.h"
#include "core/atomicfile.h"
#include "core/fileerror.h"
#include "core/simulation.h"
#include "core/trace.h"
#include "gui/busycursor.h"
#include "gui/localpath.h"
#include "gui/named.h"
#include "gui/processvalues.h"
#include "gui/prompt.h"
#include "gui/simsignals.h"
#include "gui/zoom.h"

namespace {

const QString TabsFilter = QStringLiteral("Trace Files (*.tsv *.txt)");
const QString CsvFilter = QStringLiteral("CSV Files (*.csv)");

// The format of an exported file: its extension decides, else the chosen filter, whose
// first extension a name without one gets.
TTraceFormat ExportFormat(QString& name, const QString& filter) {
    const QFileInfo file(name);
    const QString suffix = file.suffix().toLower();
    if (suffix == "csv") return TTraceFormat::Csv;
    if (suffix == "tsv" || suffix == "txt") return TTraceFormat::Tabs;
    const bool csv = filter == CsvFilter;
    if (!file.fileName().contains(u'.')) name += csv ? ".csv" : ".tsv";
    return csv ? TTraceFormat::Csv : TTraceFormat::Tabs;
}

QAction* NewShortcut(QWidget* window, const QList<QKeySequence>& keys) {
    auto* action = new QAction(window);
    action->setShortcuts(keys);
    window->addAction(action);
    return action;
}

}  // namespace

TTraceWin::TTraceWin(TSimulation& simulation, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowContextHelpButtonHint), sim_(simulation) {
    setObjectName("TraceWin");
    setProperty(HelpContextProperty, TraceWinContext);
    setWindowTitle("Quarzel Trace");
    setAttribute(Qt::WA_DeleteOnClose);

    model_ = new TTraceModel(sim_.History(), sim_.Stores(), this);
    TraceTable = Named(new QTableView(this), "TraceTable");
    TraceTable->setAccessibleName("Execution history");
    TraceTable->setModel(model_);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(12);
    TraceTable->setFont(fixed);
    TraceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    TraceTable->setSelectionMode(QAbstractItemView::SingleSelection);
    TraceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TraceTable->setWordWrap(false);
    // One Tab stop: the arrows move inside the table, Tab goes on to the buttons.
    TraceTable->setTabKeyNavigation(false);
    TraceTable->setShowGrid(false);
    TraceTable->setAlternatingRowColors(true);
    // Every row as high as the font: the view never measures rows one by one.
    TraceTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TraceTable->verticalHeader()->hide();
    TraceTable->horizontalHeader()->setStretchLastSection(true);

    ExportButton = Named(new QPushButton("&Export...", this), "ExportButton", NoContext,
                         "Save the trace as tab-separated text or CSV");
    PrintButton =
        Named(new QPushButton("&Print...", this), "PrintButton", NoContext, "Print the trace");
    CloseButton = Named(new QPushButton("Close", this), "CloseButton");
    ExplainBox = Named(new QCheckBox("E&xplanation", this), "ExplainBox", NoContext,
                       "Explain each step with the values it met");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportButton);
    buttons->addWidget(PrintButton);
    buttons->addWidget(ExplainBox);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TraceTable);
    layout->addLayout(buttons);

    connect(ExportButton, &QPushButton::clicked, this, &TTraceWin::ExportClick);
    connect(PrintButton, &QPushButton::clicked, this, &TTraceWin::PrintClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    connect(ExplainBox, &QCheckBox::toggled, this, [this](bool on) {
        model_->SetExplained(on);
        PlaceControls();
        if (on) resize(std::max(width(), Zoomed(860)), height());
    });
    connect(NewShortcut(this, {QKeySequence::Save}), &QAction::triggered, this,
            &TTraceWin::ExportClick);
    connect(NewShortcut(this, {QKeySequence::Print}), &QAction::triggered, this,
            &TTraceWin::PrintClick);
    connect(NewShortcut(this, {QKeySequence(Qt::Key_Escape), QKeySequence("Ctrl+W")}),
            &QAction::triggered, this, &QWidget::close);
    connect(TraceTable, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { RowDblClick(index.row()); });
    // Enter on a row does what a double click does.
    auto* goBack = new QAction(TraceTable);
    goBack->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    goBack->setShortcutContext(Qt::WidgetShortcut);
    TraceTable->addAction(goBack);
    connect(goBack, &QAction::triggered, this,
            [this] { RowDblClick(TraceTable->currentIndex().row()); });

    auto* events = new TSimulationSignals(sim_, this);
    connect(events, &TSimulationSignals::PcShown, this, [this] {
        model_->ForgetStates();
        Follow();
    });
    connect(events, &TSimulationSignals::HistoryCleared, this, [this] {
        model_->HistoryCleared();
        model_->ForgetStates();
        Follow();
    });
    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, &TTraceWin::Refresh);
    clock_.start();

    AddZoomActions(this);
    FollowZoom(this, [this] { PlaceControls(); });
    PlaceControls();
    resize(ZoomedWindowSize(QSize(460, 420), 100));
    TraceTable->scrollToBottom();
}

void TTraceWin::PlaceControls() {
    const QFontMetrics metrics(TraceTable->font());
    TraceTable->verticalHeader()->setMinimumSectionSize(1);
    TraceTable->verticalHeader()->setDefaultSectionSize(metrics.height() + Zoomed(2));
    // step, pc, word, instruction, change; the last column stretches
    const int digits[] = {9, 3, 5, 16, 12};
    const int padding = Zoomed(6);
    for (int c = 0; c < model_->columnCount() - 1; ++c)
        TraceTable->setColumnWidth(
            c, metrics.horizontalAdvance(QString(digits[c], u'0')) + 2 * padding);
    // A right-aligned number keeps a gap before the next column ("1 00" is not "100").
    TraceTable->setStyleSheet(
        QStringLiteral("QTableView::item { padding-left: %1px; padding-right: %1px; }")
            .arg(padding));
}

void TTraceWin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

// Later, not at once: a step shows its PC before it is recorded, and the changes of one
// turn of the event loop come together.
void TTraceWin::Follow() {
    if (!due_.isActive())
        due_.start(static_cast<int>(std::max<qint64>(0, nextRefreshMs_ - clock_.elapsed())));
}

void TTraceWin::Refresh() {
    due_.stop();
    QElapsedTimer cost;
    cost.start();
    const QScrollBar* bar = TraceTable->verticalScrollBar();
    const bool atBottom = bar->value() == bar->maximum();
    const QModelIndex current = TraceTable->currentIndex();
    const long long currentStep = current.isValid() ? model_->StepOfRow(current.row()) : 0;
    const int top = TraceTable->rowAt(0);
    const long long topStep = top >= 0 ? model_->StepOfRow(top) : 0;

    model_->Sync();
    // The view's layout now rather than in a later turn, so that its cost, which grows
    // with the rows, counts in this refresh's.
    TraceTable->doItemsLayout();
    // A reset (the oldest steps dropped) keeps the steps the user looked at where they were.
    if (current.isValid() && !TraceTable->currentIndex().isValid()) {
        if (const int row = model_->RowOfStep(currentStep); row >= 0)
            TraceTable->setCurrentIndex(model_->index(row, current.column()));
    }
    if (atBottom) {
        TraceTable->scrollToBottom();
    } else if (const int row = model_->RowOfStep(topStep);
               row >= 0 && row != TraceTable->rowAt(0)) {
        TraceTable->scrollTo(model_->index(row, 0), QAbstractItemView::PositionAtTop);
    }
    nextRefreshMs_ = clock_.elapsed() + RefreshCostFactor * cost.elapsed();
}

void TTraceWin::RowDblClick(int row) {
    if (row < 0 || row >= model_->rowCount()) return;
    {
        const TBusyCursor busy;
        sim_.StepBackTo(model_->StepOfRow(row));
    }
    Refresh();
}

void TTraceWin::ExportClick() {
    QString filter;
    TFileDialogRequest request;
    request.Title = "Export Trace";
    request.Filters = {TabsFilter, CsvFilter};
    request.Directory = ProcessValues().TempDir;
    request.FileName = "trace";
    request.DefaultSuffix = "tsv";
    request.SelectedFilter = &filter;
    QString name = Prompt().SaveFileName(this, request);
    if (name.isEmpty()) return;
    const TTraceFormat format = ExportFormat(name, filter);
    try {
        const TBusyCursor busy;
        const THistory& history = sim_.History();
        WriteFileAtomically(LocalPath(name),
                            [&](const TByteSink& sink) { WriteTrace(history, format, sink); });
    } catch (const EFileError& error) {
        Prompt().Error(this, BoundedMessage(FileErrorText(error)));
    }
}

void TTraceWin::PrintClick() {
    QPrinter printer;
    printer.setDocName(windowTitle());
    if (!Prompt().PrintSetup(this, printer)) return;
    const TBusyCursor busy;
    const QString file = parentWidget() ? parentWidget()->windowFilePath() : QString();
    PrintTrace(sim_.History(), printer,
               file.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(file).fileName());
}
