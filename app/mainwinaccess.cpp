// What a screen reader calls the main window's machine views and their cells.

#include <QListWidget>

#include "app/labelgrid.h"
#include "app/mainwin.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"

void TMainWin::NameForScreenReaders() {
    MainMemory->setAccessibleName("Main Memory");
    Registers->setAccessibleName("Registers");
    SysRegs->setAccessibleName("System Registers");
    OutputBox->setAccessibleName("Output Window");
    DisasmWin->setAccessibleName(DisasmWin->toolTip());
    // A register cell is called what its label says; memory cells by their address.
    Registers->SetCellNames(LabelsReg1->Texts());
    SysRegs->SetCellNames(LabelsReg2->Texts());
}
