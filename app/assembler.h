#pragma once
// Rewrites the two-byte instruction at one memory address by picking its operation and
// operands from drop-down lists; the encoding works directly on the instruction word.

#include <QDialog>
#include <QStringList>

#include "core/cellstore.h"

class QComboBox;
class QPushButton;

class TAssembleDialog : public QDialog {
    Q_OBJECT
public:
    // Placed relative to mainWindow when one is given; destroys itself when closed.
    explicit TAssembleDialog(CellStore& memory, QWidget* mainWindow = nullptr);

    // Reads the word at address and (address + 1) mod 256 and shows it.
    void SetAddress(int address);

    int Address() const { return address_; }
    int Instruction() const { return instruction_; }

    QComboBox* opcode;
    QComboBox* op1;
    QComboBox* op2;
    QComboBox* op3;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    void ShowInstruction();
    void opXChange();
    void opcodeChange();
    void OkButtonClick();
    void FillOperandBox(QComboBox* box, const QStringList* items, int index);

    CellStore& memory_;
    int address_ = 0;
    int instruction_ = 0;
};
