#include "gui/simsignals.h"

TSimulationSignals::TSimulationSignals(TSimulation& simulation, QObject* parent)
    : QObject(parent), sim_(&simulation) {
    sim_->AddObserver(&relay_, TSimulation::TNeeds::NoWrites);
}

TSimulationSignals::~TSimulationSignals() {
    if (sim_) sim_->RemoveObserver(&relay_);
}
