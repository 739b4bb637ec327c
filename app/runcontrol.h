#pragma once
// Runs the simulation without blocking the window: each turn of the event loop runs a
// slice of whole instructions for a short time and then hands control back, so every
// user event (Break, Step, an edited cell, Clear) lands between two instructions. The
// views stay frozen during a slice and thaw at the screen's rate. At a set rate the views
// are never frozen, so they show every instruction's changes. Where a run stops (a halt,
// an invalid word, a breakpoint, the start of the history when running back) is the
// simulation's; it tells its observers when a run ends.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "core/simulation.h"

class TRunControl : public QObject, private TSimulationObserver {
    Q_OBJECT
public:
    explicit TRunControl(TSimulation& simulation, QObject* parent = nullptr);
    ~TRunControl() override;

    bool Running() const { return sim_ && sim_->Running(); }
    bool RunningBack() const { return sim_ && sim_->RunningBack(); }
    void Start();      // no effect while running
    void StartBack();  // no effect while running
    // A run forward that also stops before address; no effect while running.
    void StartTo(int address);
    void Stop();  // ends the run after the instruction in progress

    // Instructions per second, 0 for full speed; takes effect at once, also mid-run.
    void SetRate(int perSecond);
    int Rate() const { return rate_; }

    // Instructions executed or taken back by runs since construction.
    long long Executed() const { return sim_ ? sim_->RunSteps() - base_ : 0; }

    // Milliseconds of execution per turn of the event loop.
    static constexpr int SliceMs = 4;

private:
    void RunSlice();
    void RunAtRate();
    void Begin(bool back, int to);  // to: the address a run forward stops before, or -1
    void Stopped(TRunOutcome) override;
    void SimulationGone() override { sim_ = nullptr; }

    TSimulation* sim_;
    QTimer turn_;
    QElapsedTimer sinceFrame_;
    int frameMs_ = 16;
    int rate_ = 0;
    QElapsedTimer sinceStart_;  // at a set rate: the time the instructions are due by
    long long dueBase_ = 0;     // Executed() when sinceStart_ started
    long long base_ = 0;
};
