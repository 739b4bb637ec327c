#include "app/cleardialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>

#include "core/simulation.h"
#include "gui/helpcontexts.h"
#include "gui/named.h"
#include "gui/zoom.h"

TClearDialog::TClearDialog(TSimulation& simulation, QWidget* parent)
    : QDialog(parent), sim_(simulation) {
    SetUpFixedDialog(this, "ClearDialog", "Clear What?", false);
    setProperty(HelpContextProperty, NoHelpContext);

    ClearCheckBoxes = Named(new QGroupBox("Clear What?", this), "ClearCheckBoxes", NoHelpContext);
    MemChecked = Named(new QCheckBox("Main Memory", ClearCheckBoxes), "MemChecked", NoHelpContext);
    RegChecked = Named(new QCheckBox("Registers", ClearCheckBoxes), "RegChecked", NoHelpContext);
    PCChecked =
        Named(new QCheckBox("Program Counter", ClearCheckBoxes), "PCChecked", NoHelpContext);
    OkButton = Named(new QPushButton("OK", this), "OkButton", NoHelpContext);
    CancelButton = Named(new QPushButton("Cancel", this), "CancelButton", NoHelpContext);
    OkButton->setDefault(true);

    // The layout at 100 %, at the zoom (the dialog is modal, so the zoom stays while it is
    // open).
    const auto Z = Zoomed;
    int y = Z(24);
    for (QCheckBox* box : {MemChecked, RegChecked, PCChecked}) {
        box->setChecked(true);
        box->setGeometry(Z(16), y, std::max(Z(97), box->sizeHint().width()), Z(17));
        y += Z(24);
    }
    ClearCheckBoxes->setGeometry(Z(24), Z(16), Z(185), Z(105));
    OkButton->setGeometry(Z(24), Z(144), Z(75), Z(25));
    CancelButton->setGeometry(Z(136), Z(144), Z(75), Z(25));
    setFixedSize(Z(233), Z(185));
    if (const QScreen* screen = parent ? parent->screen() : nullptr)
        move(screen->availableGeometry().center() - rect().center());

    connect(OkButton, &QPushButton::clicked, this, &TClearDialog::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TClearDialog::OkButtonClick() {
    if (MemChecked->isChecked()) sim_.ClearMemory();
    if (RegChecked->isChecked())
        for (int i = 0; i < 16; ++i) sim_.Stores().Registers.SetContents(i, 0);
    if (PCChecked->isChecked()) sim_.Stores().SysRegs.SetContents(PcIndex, 0);
    accept();
}
