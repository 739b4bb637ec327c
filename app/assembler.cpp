#include "app/assembler.h"

#include <QComboBox>
#include <QPushButton>
#include <QStringList>
#include <array>

#include "core/instruction.h"
#include "gui/helpcontexts.h"
#include "gui/named.h"
#include "gui/zoom.h"

namespace {

QStringList Numbered(const char* format, int count) {
    QStringList items;
    for (int i = 0; i < count; ++i) items << QString::asprintf(format, i);
    return items;
}

const QStringList& RegisterItems() {
    static const QStringList items = Numbered("R%X", 16);
    return items;
}
const QStringList& IndirectItems() {
    static const QStringList items = Numbered("[R%X]", 16);
    return items;
}
const QStringList& ValueItems() {
    static const QStringList items = Numbered("%02X", 256);
    return items;
}
const QStringList& AddressItems() {
    static const QStringList items = Numbered("[%02X]", 256);
    return items;
}
const QStringList& CountItems() {
    static const QStringList items = Numbered("%1X", 16);
    return items;
}

// The list an operand box offers, by what the operand means.
const QStringList* ItemsOf(TOperandKind kind) {
    switch (kind) {
        case TOperandKind::Register:
            return &RegisterItems();
        case TOperandKind::IndirectRegister:
            return &IndirectItems();
        case TOperandKind::Address:
            return &AddressItems();
        case TOperandKind::Value:
            return &ValueItems();
        case TOperandKind::Count:
            return &CountItems();
        case TOperandKind::None:
            break;
    }
    return nullptr;
}

const std::array<TOperandField, 3>& OperandsOf(int opcode) {
    return InstructionSet[opcode & 0xF].Operands;
}

QComboBox* NewBox(QWidget* parent, const char* name, const QString& hint, int helpContext) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setMaxVisibleItems(16);
    // Styles that open a menu-like pop-up ignore the limit and fill the screen; a list
    // pop-up keeps it.
    box->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    box->setToolTip(hint);
    box->setProperty(HelpContextProperty, helpContext);
    return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setProperty(HelpContextProperty, NoHelpContext);
    return button;
}

// What a screen reader calls an operand box: the part of the word it chooses.
QString SpokenName(TOperandField field) {
    switch (field.Place) {
        case TFieldPlace::R:
            return QStringLiteral("register R");
        case TFieldPlace::X:
            return QStringLiteral("operand X");
        case TFieldPlace::Y:
            return QStringLiteral("operand Y");
        case TFieldPlace::XY:
            return field.Kind == TOperandKind::Address ? QStringLiteral("address")
                                                       : QStringLiteral("value");
        case TFieldPlace::None:
            break;
    }
    return QStringLiteral("not used");
}

}  // namespace

TAssembleDialog::TAssembleDialog(CellStore& memory, QWidget* mainWindow)
    : QDialog(mainWindow), memory_(memory) {
    SetUpFixedDialog(this, "AssembleDialog", "Asseble Instruction", true);
    setProperty(HelpContextProperty, NoHelpContext);

    opcode = NewBox(this, "opcode", "Choose Instruction", OpcodeBoxContext);
    opcode->setAccessibleName(QStringLiteral("operation"));
    for (const TInstructionInfo& info : InstructionSet) opcode->addItem(info.Name);
    op1 = NewBox(this, "op1", "operand", Operand1Context);
    op2 = NewBox(this, "op2", "operand", Operand2Context);
    op3 = NewBox(this, "op3", "operand", Operand3Context);
    OkButton = NewButton(this, "OkButton", "Ok");
    OkButton->setDefault(true);
    CancelButton = NewButton(this, "CancelButton", "Cancel");

    // The layout at 100 %, at the zoom (the dialog is modal, so the zoom stays while it is
    // open). Widths grow with the font so that "[FF]" and "indirect store" are never clipped.
    const auto Z = Zoomed;
    op1->addItems(AddressItems());
    const int operandWidth = std::max(Z(49), op1->sizeHint().width());
    op1->clear();
    const int opcodeWidth = std::max(Z(97), opcode->sizeHint().width());
    const int rowHeight = opcode->sizeHint().height();
    opcode->setGeometry(Z(16), Z(16), opcodeWidth, rowHeight);
    int x = Z(16) + opcodeWidth + Z(7);
    for (QComboBox* box : {op1, op2, op3}) {
        box->setGeometry(x, Z(16), operandWidth, rowHeight);
        x += operandWidth + Z(7);
    }
    const int width = x + Z(8);
    const int buttonTop = std::max(Z(48), Z(16) + rowHeight + Z(8));
    OkButton->setGeometry(Z(24), buttonTop, Z(75), Z(25));
    CancelButton->setGeometry(width - Z(96), buttonTop, Z(75), Z(25));
    setFixedSize(width, buttonTop + Z(40));

    if (mainWindow) move(mainWindow->pos() + QPoint(Z(150), Z(242)));

    connect(opcode, &QComboBox::activated, this, &TAssembleDialog::opcodeChange);
    for (QComboBox* box : {op1, op2, op3})
        connect(box, &QComboBox::activated, this, &TAssembleDialog::opXChange);
    connect(OkButton, &QPushButton::clicked, this, &TAssembleDialog::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TAssembleDialog::SetAddress(int address) {
    address_ = address & 0xFF;
    instruction_ = memory_.GetContents(address_) * 256 + memory_.GetContents((address_ + 1) % 256);
    // The caption stays as it is; a screen reader also hears where the word goes.
    setAccessibleName(windowTitle() + QString::asprintf(" at %02X", address_));
    ShowInstruction();
}

void TAssembleDialog::FillOperandBox(QComboBox* box, const QStringList* items, int index) {
    // Refilling 256 items on every change would be wasteful: keep a box that already holds them.
    const auto current = reinterpret_cast<quintptr>(items);
    if (box->property("items").value<quintptr>() != current || box->count() == 0) {
        box->clear();
        box->addItems(items ? *items : QStringList{QStringLiteral("N/A")});
        box->setProperty("items", current);
    }
    box->setCurrentIndex(items ? index : 0);
    box->setEnabled(items != nullptr);
}

void TAssembleDialog::ShowInstruction() {
    const int op = instruction_ >> 12;
    opcode->setCurrentIndex(op);
    const auto& operands = OperandsOf(op);
    QComboBox* const boxes[3] = {op1, op2, op3};
    for (int i = 0; i < 3; ++i) {
        const TFieldPlace place = operands[i].Place;
        FillOperandBox(boxes[i], ItemsOf(operands[i].Kind),
                       (instruction_ >> FieldShift(place)) & FieldMask(place));
        boxes[i]->setAccessibleName(SpokenName(operands[i]));
    }
}

void TAssembleDialog::opXChange() {
    const auto& operands = OperandsOf(instruction_ >> 12);
    QComboBox* const boxes[3] = {op1, op2, op3};
    int word = instruction_ & 0xF000;
    for (int i = 0; i < 3; ++i) {
        const TFieldPlace place = operands[i].Place;
        word |= (boxes[i]->currentIndex() & FieldMask(place)) << FieldShift(place);
    }
    instruction_ = word;
    ShowInstruction();
}

void TAssembleDialog::opcodeChange() {
    instruction_ = opcode->currentIndex() * 4096 + (instruction_ & 0xFFF);
    ShowInstruction();
    opXChange();
}

void TAssembleDialog::OkButtonClick() {
    memory_.SetContents(address_, instruction_ >> 8);
    memory_.SetContents((address_ + 1) % 256, instruction_ & 0xFF);
    accept();
}
