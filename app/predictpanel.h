#pragma once
// Run > Predict Mode: before each Step the student types what it will change ("R3 0F",
// "[80] 2A", "PC 0E", "-", "halt"); after it the panel says right or wrong, with the
// step's explanation, and keeps a running score until another program is loaded. The
// main window owns the stepping; the panel reads the prediction and shows the verdict.

#include <QFrame>
#include <optional>

#include "core/predict.h"
#include "gui/theme.h"

class QLabel;
class QLineEdit;
class TSimulation;

class TPredictPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPredictPanel(QWidget* parent);

    QLabel* PredictLabel;
    QLineEdit* PredictEdit;
    QLabel* PredictResult;
    QLabel* PredictScore;

    // What the student typed; nothing, with how to type it shown, when it is no prediction.
    std::optional<TPrediction> Prediction();
    // Judges the prediction against the newest step of the simulation's history.
    void Judge(const TPrediction& prediction, const TSimulation& simulation);
    void ResetScore();
    const TPredictScore& Score() const { return score_; }

private:
    void ShowResult(const QString& text, TThemeColour colour);
    void ApplyResultColour();  // in the current theme

    TPredictScore score_;
    TThemeColour resultColour_ = TThemeColour::StatusReady;
};
