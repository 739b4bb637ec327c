#pragma once
// Resets main memory, the general purpose registers and the program counter to zero,
// each chosen by a check box.

#include <QDialog>

class TSimulation;

class QCheckBox;
class QGroupBox;
class QPushButton;

class TClearDialog : public QDialog {
    Q_OBJECT
public:
    // Destroys itself when closed.
    explicit TClearDialog(TSimulation& simulation, QWidget* parent = nullptr);

    QGroupBox* ClearCheckBoxes;
    QCheckBox* MemChecked;
    QCheckBox* RegChecked;
    QCheckBox* PCChecked;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    void OkButtonClick();

    TSimulation& sim_;
};
