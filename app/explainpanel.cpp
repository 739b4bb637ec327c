#include "app/explainpanel.h"

#include <QLabel>
#include <QVBoxLayout>

#include "core/explain.h"
#include "core/historystates.h"
#include "gui/named.h"

TExplainPanel::TExplainPanel(TSimulation& simulation, QWidget* parent)
    : QFrame(parent), sim_(&simulation) {
    setObjectName("ExplainPanel");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ExplainNext = Named(new QLabel(this), "ExplainNext", NoContext,
                        "What the instruction at PC will do with the values it meets");
    ExplainLast =
        Named(new QLabel(this), "ExplainLast", NoContext, "What the last executed instruction did");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setSpacing(0);
    for (QLabel* label : {ExplainNext, ExplainLast}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    due_.setSingleShot(true);
    connect(&due_, &QTimer::timeout, this, &TExplainPanel::Refresh);
}

TExplainPanel::~TExplainPanel() {
    if (sim_ && observing_) sim_->RemoveObserver(this);
}

void TExplainPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    if (sim_ && !observing_) {
        sim_->AddObserver(this);
        frozen_ = sim_->ViewsFrozen();
    }
    observing_ = sim_ != nullptr;
    Refresh();
}

// Hidden, it costs a run nothing.
void TExplainPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    if (sim_ && observing_) sim_->RemoveObserver(this);
    observing_ = false;
    due_.stop();
}

void TExplainPanel::Due() {
    if (!frozen_ && !due_.isActive()) due_.start(0);
}

void TExplainPanel::ViewsFrozen(bool frozen) {
    frozen_ = frozen;
    Due();
}

void TExplainPanel::Refresh() {
    due_.stop();
    if (!sim_) return;
    const TMachineState state = ReadMachineState(sim_->Stores());
    ExplainNext->setText("Next: " + QString::fromStdString(ExplainInstruction(state)));
    const auto last = ExplainLastStep(sim_->Stores(), sim_->History());
    ExplainLast->setText("Last: " + (last ? QString::fromStdString(*last) : QString("-")));
}
