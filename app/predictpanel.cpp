#include "app/predictpanel.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "core/simulation.h"
#include "gui/named.h"

TPredictPanel::TPredictPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("PredictPanel");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PredictLabel = Named(new QLabel("&Predict:", this), "PredictLabel");
    PredictEdit = Named(new QLineEdit(this), "PredictEdit", NoContext,
                        "What the next Step will change; Enter steps");
    PredictEdit->setPlaceholderText("R3 0F, [80] 2A, PC 0E, - or halt");
    PredictEdit->setMaxLength(32);
    PredictLabel->setBuddy(PredictEdit);
    PredictResult = Named(new QLabel(this), "PredictResult");
    PredictResult->setWordWrap(true);
    // Room for a long explanation after the verdict, so the panel keeps its height.
    PredictResult->setMinimumHeight(2 * PredictResult->fontMetrics().lineSpacing());
    PredictResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PredictResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PredictScore = Named(new QLabel(this), "PredictScore");
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->setVerticalSpacing(0);
    layout->addWidget(PredictLabel, 0, 0);
    layout->addWidget(PredictEdit, 0, 1);
    layout->addWidget(PredictScore, 0, 2, Qt::AlignRight);
    layout->addWidget(PredictResult, 1, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    ResetScore();
    FollowTheme(this, [this] { ApplyResultColour(); });
}

std::optional<TPrediction> TPredictPanel::Prediction() {
    const auto prediction = ParsePrediction(PredictEdit->text().toStdString());
    if (!prediction) {
        ShowResult(QString::fromLatin1(PredictionHint.data(), PredictionHint.size()),
                   TThemeColour::StatusReady);
        PredictEdit->setFocus();
        PredictEdit->selectAll();
    }
    return prediction;
}

void TPredictPanel::Judge(const TPrediction& prediction, const TSimulation& simulation) {
    const auto verdict = JudgeLastStep(prediction, simulation.Stores(), simulation.History());
    if (!verdict) return;
    score_.Count(verdict->Right);
    PredictScore->setText(QString::fromStdString(score_.Text()));
    ShowResult(QString::fromStdString(verdict->Text),
               verdict->Right ? TThemeColour::TestPassed : TThemeColour::TestFailed);
    PredictEdit->clear();
}

void TPredictPanel::ResetScore() {
    score_ = {};
    PredictScore->setText(QString::fromStdString(score_.Text()));
    PredictResult->clear();
}

void TPredictPanel::ShowResult(const QString& text, TThemeColour colour) {
    resultColour_ = colour;
    ApplyResultColour();
    PredictResult->setText(text);
}

void TPredictPanel::ApplyResultColour() {
    QPalette palette = PredictResult->palette();
    palette.setColor(QPalette::WindowText, ThemeColour(resultColour_));
    PredictResult->setPalette(palette);
}
