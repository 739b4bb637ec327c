#include "core/machine.h"

TMachine::TMachine(long long historyCapacity)
    : Simulation({MainMemory, Registers, SysRegs}, historyCapacity > 0 ? historyCapacity : 1) {
    Simulation.SetRecording(historyCapacity > 0);
    Simulation.AddObserver(&output_, TSimulation::TNeeds::NoWrites);
}

TMachine::~TMachine() {
    Simulation.RemoveObserver(&output_);
}
