#include "gui/simsignals.h"

TSimulationSignals::TSimulationSignals(TSimulation& simulation, QObject* parent)
    : QObject(parent), sim_(&simulation) {
    sim_->AddObserver(&relay_);
}

TSimulationSignals::~TSimulationSignals() {
    if (sim_) sim_->RemoveObserver(&relay_);
}
