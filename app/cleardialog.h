#pragma once
// Resets main memory, the general purpose registers and the program counter to zero,
// each chosen by a check box.

#include <QDialog>
#include <functional>

#include "core/cellstore.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

// What clearing needs from the window that owns the machine.
class TClearTarget {
public:
    virtual ~TClearTarget() = default;
    virtual CellStore& MemoryStore() = 0;
    virtual CellStore& RegisterStore() = 0;
    virtual CellStore& SysRegStore() = 0;
    // Runs many memory writes with the disassembly list frozen: it keeps its scroll
    // position and repaints once at the end.
    virtual void WriteMemoryInBulk(const std::function<void()>& writes) = 0;
    // Memory now holds nothing worth saving.
    virtual void MemoryCleared() = 0;
};

class TClearDialog : public QDialog {
    Q_OBJECT
public:
    // Destroys itself when closed.
    explicit TClearDialog(TClearTarget& target, QWidget* parent = nullptr);

    QGroupBox* ClearCheckBoxes;
    QCheckBox* MemChecked;
    QCheckBox* RegChecked;
    QCheckBox* PCChecked;
    QPushButton* OkButton;
    QPushButton* CancelButton;

private:
    void OkButtonClick();

    TClearTarget& target_;
};
