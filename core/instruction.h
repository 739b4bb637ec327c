#pragma once
// Instruction words: two bytes, nibbles op R X Y. The table below is the one
// description of the instruction set: execution's validity check, the
// disassembler, the assemble dialog, the assembler's emitters and the help's
// instruction table all read it.

#include <array>

enum class TOpcode : int {
    Invalid = 0x0,
    LoadDirect = 0x1,
    LoadImmediate = 0x2,
    StoreDirect = 0x3,
    Move = 0x4,
    AddInt = 0x5,
    AddFloat = 0x6,
    Or = 0x7,
    And = 0x8,
    Xor = 0x9,
    Rotate = 0xA,
    JumpEqual = 0xB,
    Halt = 0xC,
    LoadIndirect = 0xD,
    StoreIndirect = 0xE,
    JumpLessEqual = 0xF,
};

struct TInstructionWord {
    int Word;  // first byte * 256 + second byte

    int Op() const { return (Word >> 12) & 0xF; }
    int R() const { return (Word >> 8) & 0xF; }
    int X() const { return (Word >> 4) & 0xF; }
    int Y() const { return Word & 0xF; }
    int XY() const { return Word & 0xFF; }
};

// Where an operand sits in the word.
enum class TFieldPlace { None, R, X, Y, XY };

// What an operand means, which decides how it is written.
enum class TOperandKind { None, Register, IndirectRegister, Address, Value, Count };

struct TOperandField {
    TOperandKind Kind = TOperandKind::None;
    TFieldPlace Place = TFieldPlace::None;
};

constexpr int FieldShift(TFieldPlace place) {
    return place == TFieldPlace::R ? 8 : place == TFieldPlace::X ? 4 : 0;
}
constexpr int FieldMask(TFieldPlace place) {
    return place == TFieldPlace::XY ? 0xFF : place == TFieldPlace::None ? 0 : 0xF;
}

// One assembly form as the help lists it: nibbles after the opcode, the source
// form and what it does.
struct TInstructionForm {
    const char* Nibbles = nullptr;
    const char* Assembly = nullptr;
    const char* Operation = nullptr;
};

// Where an instruction's one write goes, besides the PC and IR of its fetch.
enum class TWriteTarget {
    None,              // halt, and opcode 0
    RegisterR,         // register R
    RegisterX,         // register X
    RegisterY,         // register Y
    MemoryXY,          // memory[XY]
    MemoryAtRegister,  // memory[register Y]
    Pc,                // PC := XY when the jump is taken
};

struct TInstructionInfo {
    TOpcode Op;
    const char* Name;                       // the assemble dialog's entry
    bool Executable;                        // opcode 0 is no instruction
    int ZeroBits;                           // bits of the word that must be 0
    std::array<TOperandField, 3> Operands;  // in source order
    // Disassembly: %r %x %y a nibble, %b the byte XY, %s XY as a signed number.
    const char* Disassembly;
    std::array<TInstructionForm, 2> Forms;
    TWriteTarget Writes;  // what execution writes and the history records
};

namespace isa {
constexpr TOperandField RegR{TOperandKind::Register, TFieldPlace::R};
constexpr TOperandField RegX{TOperandKind::Register, TFieldPlace::X};
constexpr TOperandField RegY{TOperandKind::Register, TFieldPlace::Y};
constexpr TOperandField Address{TOperandKind::Address, TFieldPlace::XY};
constexpr TOperandField Value{TOperandKind::Value, TFieldPlace::XY};
constexpr TOperandField Count{TOperandKind::Count, TFieldPlace::Y};
constexpr TOperandField IndirectY{TOperandKind::IndirectRegister, TFieldPlace::Y};
}  // namespace isa

// Indexed by opcode.
constexpr std::array<TInstructionInfo, 16> InstructionSet = {{
    {TOpcode::Invalid, "invalid", false, 0, {}, "invalid", {}, TWriteTarget::None},
    {TOpcode::LoadDirect,
     "direct load",
     true,
     0,
     {isa::RegR, isa::Address},
     "load  R%r,[%b]    ;...",
     {{{"R X Y", "load RR,[XY]", "direct load: register R := memory[XY]"}}},
     TWriteTarget::RegisterR},
    {TOpcode::LoadImmediate,
     "immediate load",
     true,
     0,
     {isa::RegR, isa::Value},
     "load  R%r,%b      ;... ($%b=%s)",
     {{{"R X Y", "load RR,XY", "immediate load: register R := XY"}}},
     TWriteTarget::RegisterR},
    {TOpcode::StoreDirect,
     "direct store",
     true,
     0,
     {isa::RegR, isa::Address},
     "store R%r,[%b]    ;...",
     {{{"R X Y", "store RR,[XY]", "direct store: memory[XY] := register R"}}},
     TWriteTarget::MemoryXY},
    {TOpcode::Move,
     "move",
     true,
     0,
     {isa::RegY, isa::RegX},
     "move  R%y,R%x      ;...",
     {{{"0 X Y", "move RY,RX", "register Y := register X (the copy goes from X to Y)"}}},
     TWriteTarget::RegisterY},
    {TOpcode::AddInt,
     "addi",
     true,
     0,
     {isa::RegR, isa::RegX, isa::RegY},
     "addi  R%r,R%x,R%y   ;...",
     {{{"R X Y", "addi RR,RX,RY", "register R := register X + register Y, integers modulo 256"}}},
     TWriteTarget::RegisterR},
    {TOpcode::AddFloat,
     "addf",
     true,
     0,
     {isa::RegR, isa::RegX, isa::RegY},
     "addf  R%r,R%x,R%y   ;...",
     {{{"R X Y", "addf RR,RX,RY", "register R := register X + register Y, floating point"}}},
     TWriteTarget::RegisterR},
    {TOpcode::Or,
     "or",
     true,
     0,
     {isa::RegR, isa::RegX, isa::RegY},
     "or    R%r,R%x,R%y   ;...",
     {{{"R X Y", "or RR,RX,RY", "register R := register X OR register Y, bit by bit"}}},
     TWriteTarget::RegisterR},
    {TOpcode::And,
     "and",
     true,
     0,
     {isa::RegR, isa::RegX, isa::RegY},
     "and   R%r,R%x,R%y   ;...",
     {{{"R X Y", "and RR,RX,RY", "register R := register X AND register Y, bit by bit"}}},
     TWriteTarget::RegisterR},
    {TOpcode::Xor,
     "xor",
     true,
     0,
     {isa::RegR, isa::RegX, isa::RegY},
     "xor   R%r,R%x,R%y   ;...",
     {{{"R X Y", "xor RR,RX,RY", "register R := register X XOR register Y, bit by bit"}}},
     TWriteTarget::RegisterR},
    {TOpcode::Rotate,
     "ror",
     true,
     0x00F0,
     {isa::RegR, isa::Count},
     "ror   R%r,%y       ;...",
     {{{"R 0 Y", "ror RR,Y", "rotate register R right by Y bit positions"}}},
     TWriteTarget::RegisterR},
    {TOpcode::JumpEqual,
     "jmpEQ",
     true,
     0,
     {isa::RegR, isa::Value},
     "jmpEQ R%r=R0,%b   ;...",
     {{{"R X Y", "jmpEQ RR=R0,XY", "jump to XY when register R equals register R0"},
       {"0 X Y", "jmp XY", "jump to XY (R0 always equals itself)"}}},
     TWriteTarget::Pc},
    {TOpcode::Halt,
     "halt",
     true,
     0x0FFF,
     {},
     "halt             ;...",
     {{{"0 0 0", "halt", "stop the program"}}},
     TWriteTarget::None},
    {TOpcode::LoadIndirect,
     "indirect load",
     true,
     0x0F00,
     {isa::RegX, isa::IndirectY},
     "load  R%x,[R%y]    ;...",
     {{{"0 X Y", "load RX,[RY]", "indirect load: register X := memory[register Y]"}}},
     TWriteTarget::RegisterX},
    {TOpcode::StoreIndirect,
     "indirect store",
     true,
     0x0F00,
     {isa::RegX, isa::IndirectY},
     "store R%x,[R%y]    ;...",
     {{{"0 X Y", "store RX,[RY]", "indirect store: memory[register Y] := register X"}}},
     TWriteTarget::MemoryAtRegister},
    {TOpcode::JumpLessEqual,
     "jmpLE",
     true,
     0,
     {isa::RegR, isa::Value},
     "jmpLE R%r<=R0,%b  ;...",
     {{{"R X Y", "jmpLE RR<=R0,XY",
        "jump to XY when register R &le; register R0, both read as signed numbers"}}},
     TWriteTarget::Pc},
}};

constexpr const TInstructionInfo& InstructionInfo(TOpcode op) {
    return InstructionSet[static_cast<int>(op)];
}

// The first byte of an instruction: opcode and R nibble.
constexpr int FirstByte(TOpcode op, int r = 0) {
    return static_cast<int>(op) * 16 + r;
}

namespace isa {
// Per opcode, the bits that must be 0, with one bit above the word set for an
// opcode that never executes, so that no word passes it.
constexpr int NeverValid = 0x10000;
constexpr std::array<int, 16> ValidityMasks = [] {
    std::array<int, 16> masks{};
    for (int op = 0; op < 16; ++op)
        masks[op] = InstructionSet[op].Executable ? InstructionSet[op].ZeroBits : NeverValid;
    return masks;
}();

constexpr bool TableInOpcodeOrder() {
    for (int op = 0; op < 16; ++op)
        if (static_cast<int>(InstructionSet[op].Op) != op) return false;
    return true;
}
static_assert(TableInOpcodeOrder(), "InstructionSet is indexed by opcode");
}  // namespace isa

inline bool IsValidInstruction(TInstructionWord w) {
    return ((w.Word | isa::NeverValid) & isa::ValidityMasks[w.Op()]) == 0;
}
