#pragma once
// The row under the test results while tests run in the background: which test runs, a bar
// of those done and a Stop button; after a stop it says how far the run got, and a screen
// reader hears that once.

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class TLiveRegion;

class TTestProgress final : public QWidget {
    Q_OBJECT
public:
    TTestProgress();

    // Controls (objectName = field name).
    QLabel* ProgressLabel;
    QProgressBar* ProgressBar;
    QPushButton* StopTestsButton;

    // Shows the row, done of count tests finished and the one named running.
    void ShowRunning(int done, int count, const QString& name);
    // Keeps the row shown, Stop disabled; why is empty for a stop the user asked for.
    void ShowStopped(int done, int count, const QString& why);

private:
    TLiveRegion* voice_;
};
