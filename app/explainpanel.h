#pragma once
// View > Explain: under the disassembly list, the instruction at PC ("Next:") and what
// the last step did ("Last:"), each one sentence with the machine's actual values. It
// follows the machine only while shown, and at the screen's pace during a run.

#include <QFrame>
#include <QTimer>

#include "core/simulation.h"

class QLabel;

class TExplainPanel : public QFrame, private TSimulationObserver {
    Q_OBJECT
public:
    TExplainPanel(TSimulation& simulation, QWidget* parent);
    ~TExplainPanel() override;

    QLabel* ExplainNext;
    QLabel* ExplainLast;

    // Brings both lines up to the machine now.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Due();  // something changed: refresh in the next turn of the event loop

    void MemoryChanged(const TCellChange&) override { Due(); }
    void RegisterChanged(const TCellChange&) override { Due(); }
    void SysRegChanged(const TCellChange&) override { Due(); }
    void HistoryCleared() override { Due(); }
    void ViewsFrozen(bool frozen) override;
    void SimulationGone() override { sim_ = nullptr; }

    TSimulation* sim_;
    bool observing_ = false;
    bool frozen_ = false;
    QTimer due_;
};
