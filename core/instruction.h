#pragma once
// Instruction words: two bytes, nibbles op R X Y. Whether a word is a valid
// instruction is decided here only, for execution and disassembly alike.

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

// Op 0 never; ror needs X = 0; halt is exactly C000; indirect load/store need R = 0.
inline bool IsValidInstruction(TInstructionWord w) {
    switch (static_cast<TOpcode>(w.Op())) {
        case TOpcode::Invalid:
            return false;
        case TOpcode::Rotate:
            return w.X() == 0;
        case TOpcode::Halt:
            return (w.Word & 0x0FFF) == 0;
        case TOpcode::LoadIndirect:
        case TOpcode::StoreIndirect:
            return w.R() == 0;
        default:
            return true;
    }
}
