#pragma once
// The trace window: the execution history as a table in the trace's columns, newest
// last. It follows the simulation when PC is shown (at the screen's rate during
// a run) and when the history is cleared; a refresh that costs much with a deep history
// waits in proportion, so that following never takes more than a small part of a run's
// time. A double click on a row takes the machine back to just after that step.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QPushButton;
class QTableView;
class TSimulation;
class TTraceModel;

class TTraceWin : public QWidget {
    Q_OBJECT
public:
    // A window of parent, which it closes with; parent lets go of the simulation first.
    TTraceWin(TSimulation& simulation, QWidget* parent);

    QTableView* TraceTable;
    QCheckBox* ExplainBox;  // the explanation column
    QPushButton* ExportButton;
    QPushButton* PrintButton;
    QPushButton* CloseButton;

    void ExportClick();
    void PrintClick();
    void RowDblClick(int row);
    // Brings the table up to the history now.
    void Refresh();

    // A refresh waits this many times as long as the last one took.
    static constexpr int RefreshCostFactor = 10;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Follow();  // the history may have changed: refresh when due
    void PlaceControls();

    TSimulation& sim_;
    TTraceModel* model_;
    QTimer due_;
    QElapsedTimer clock_;
    qint64 nextRefreshMs_ = 0;
};
