#pragma once
// A simulation's events at the screen's pace as Qt signals, for windows that connect to
// them rather than observe every write.

#include <QObject>

#include "core/simulation.h"

class TSimulationSignals : public QObject {
    Q_OBJECT
public:
    TSimulationSignals(TSimulation& simulation, QObject* parent);
    ~TSimulationSignals() override;

signals:
    // PC as the views show it: on each change, at the screen's rate during a full-speed run.
    void PcShown(int pc);
    void HistoryCleared();
    void BreakpointsChanged();

private:
    class TRelay final : public TSimulationObserver {
    public:
        explicit TRelay(TSimulationSignals& to) : to_(to) {}
        void PcShown(int pc) override { emit to_.PcShown(pc); }
        void HistoryCleared() override { emit to_.HistoryCleared(); }
        void BreakpointsChanged() override { emit to_.BreakpointsChanged(); }
        void SimulationGone() override { to_.sim_ = nullptr; }

    private:
        TSimulationSignals& to_;
    };

    TSimulation* sim_;
    TRelay relay_{*this};
};
