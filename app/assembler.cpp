#include "app/assembler.h"

#include <QComboBox>
#include <QPushButton>
#include <QStringList>
#include <array>

#include "gui/named.h"

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

// Where an operand box's number sits in the instruction word.
enum class TField { None, Nibble2, Nibble3, Nibble4, LowByte };

int Shift(TField field) {
    switch (field) {
        case TField::Nibble2:
            return 8;
        case TField::Nibble3:
            return 4;
        default:
            return 0;
    }
}
int Mask(TField field) {
    return field == TField::LowByte ? 0xFF : 0xF;
}

struct TOperand {
    const QStringList* Items = nullptr;
    TField Field = TField::None;
};
using TLayout = std::array<TOperand, 3>;

// The operand boxes of every operation; decoding and encoding both read this table.
TLayout LayoutOf(int opcode) {
    const TOperand reg2{&RegisterItems(), TField::Nibble2};
    const TOperand reg3{&RegisterItems(), TField::Nibble3};
    const TOperand reg4{&RegisterItems(), TField::Nibble4};
    switch (opcode) {
        case 0x1:
        case 0x3:
            return {reg2, TOperand{&AddressItems(), TField::LowByte}, {}};
        case 0x2:
        case 0xB:
        case 0xF:
            return {reg2, TOperand{&ValueItems(), TField::LowByte}, {}};
        case 0x4:
            return {reg4, reg3, {}};
        case 0x5:
        case 0x6:
        case 0x7:
        case 0x8:
        case 0x9:
            return {reg2, reg3, reg4};
        case 0xA:
            return {reg2, TOperand{&CountItems(), TField::Nibble4}, {}};
        case 0xD:
        case 0xE:
            return {reg3, TOperand{&IndirectItems(), TField::Nibble4}, {}};
        default:
            return {};  // invalid, halt: no operands
    }
}

const char* const OpcodeNames[16] = {"invalid",
                                     "direct load",
                                     "immediate load",
                                     "direct store",
                                     "move",
                                     "addi",
                                     "addf",
                                     "or",
                                     "and",
                                     "xor",
                                     "ror",
                                     "jmpEQ",
                                     "halt",
                                     "indirect load",
                                     "indirect store",
                                     "jmpLE"};

QComboBox* NewBox(QWidget* parent, const char* name, const QString& hint, int helpContext) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(false);
    box->setMaxVisibleItems(16);
    box->setToolTip(hint);
    box->setProperty("helpContext", helpContext);
    return box;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setProperty("helpContext", 9999);
    return button;
}

}  // namespace

TAssembleDialog::TAssembleDialog(CellStore& memory, QWidget* mainWindow)
    : QDialog(mainWindow), memory_(memory) {
    SetUpFixedDialog(this, "AssembleDialog", "Asseble Instruction", true);
    setProperty("helpContext", 9999);

    opcode = NewBox(this, "opcode", "Choose Instruction", 101);
    for (const char* name : OpcodeNames) opcode->addItem(name);
    op1 = NewBox(this, "op1", "operand", 102);
    op2 = NewBox(this, "op2", "operand", 103);
    op3 = NewBox(this, "op3", "operand", 104);
    OkButton = NewButton(this, "OkButton", "Ok");
    OkButton->setDefault(true);
    CancelButton = NewButton(this, "CancelButton", "Cancel");

    // Widths grow with the font so that "[FF]" and "indirect store" are never clipped.
    op1->addItems(AddressItems());
    const int operandWidth = std::max(49, op1->sizeHint().width());
    op1->clear();
    const int opcodeWidth = std::max(97, opcode->sizeHint().width());
    const int rowHeight = opcode->sizeHint().height();
    opcode->setGeometry(16, 16, opcodeWidth, rowHeight);
    int x = 16 + opcodeWidth + 7;
    for (QComboBox* box : {op1, op2, op3}) {
        box->setGeometry(x, 16, operandWidth, rowHeight);
        x += operandWidth + 7;
    }
    const int width = x + 8;
    const int buttonTop = std::max(48, 16 + rowHeight + 8);
    OkButton->setGeometry(24, buttonTop, 75, 25);
    CancelButton->setGeometry(width - 96, buttonTop, 75, 25);
    setFixedSize(width, buttonTop + 40);

    if (mainWindow) move(mainWindow->pos() + QPoint(150, 242));

    connect(opcode, &QComboBox::activated, this, &TAssembleDialog::opcodeChange);
    for (QComboBox* box : {op1, op2, op3})
        connect(box, &QComboBox::activated, this, &TAssembleDialog::opXChange);
    connect(OkButton, &QPushButton::clicked, this, &TAssembleDialog::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TAssembleDialog::SetAddress(int address) {
    address_ = address & 0xFF;
    instruction_ = memory_.GetContents(address_) * 256 + memory_.GetContents((address_ + 1) % 256);
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
    const TLayout layout = LayoutOf(op);
    QComboBox* const boxes[3] = {op1, op2, op3};
    for (int i = 0; i < 3; ++i) {
        const TOperand& operand = layout[i];
        FillOperandBox(boxes[i], operand.Items,
                       (instruction_ >> Shift(operand.Field)) & Mask(operand.Field));
    }
}

void TAssembleDialog::opXChange() {
    const TLayout layout = LayoutOf(instruction_ >> 12);
    QComboBox* const boxes[3] = {op1, op2, op3};
    int word = instruction_ & 0xF000;
    for (int i = 0; i < 3; ++i) {
        const TOperand& operand = layout[i];
        if (operand.Items)
            word |= (boxes[i]->currentIndex() & Mask(operand.Field)) << Shift(operand.Field);
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
