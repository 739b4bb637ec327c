// The instruction table's rows must agree with one another: operands, the bits that
// must be zero, the disassembly and the help's nibbles describe the same word.
#include <gtest/gtest.h>

#include <string>

#include "core/disasm.h"
#include "core/instruction.h"

namespace {

int FieldBits(TOperandField field) {
    return FieldMask(field.Place) << FieldShift(field.Place);
}

TEST(InstructionSet, OperandsNeitherOverlapNorTouchZeroBits) {
    for (const TInstructionInfo& info : InstructionSet) {
        int used = info.ZeroBits;
        for (const TOperandField& field : info.Operands) {
            EXPECT_EQ(used & FieldBits(field), 0) << info.Name;
            used |= FieldBits(field);
        }
    }
}

// Each operand shows in the text: a format that prints the wrong nibble leaves the
// text unchanged when the operand changes.
TEST(InstructionSet, DisassemblyShowsEveryOperand) {
    for (const TInstructionInfo& info : InstructionSet) {
        if (!info.Executable) continue;
        const int base = static_cast<int>(info.Op) << 12;
        for (const TOperandField& field : info.Operands) {
            if (field.Kind == TOperandKind::None) continue;
            const int changed = base | (1 << FieldShift(field.Place));
            EXPECT_NE(InstructionText(base), InstructionText(changed)) << info.Name;
        }
    }
}

TEST(InstructionSet, CommentColumnIsTheSameForEveryValidWord) {
    for (int word = 0; word < 65536; word += 0x0111) {
        const std::string text = InstructionText(word);
        if (!IsValidInstruction({word})) {
            EXPECT_EQ(text, "invalid") << word;
            continue;
        }
        EXPECT_EQ(text.find(";..."), 17u) << text;
    }
}

// The help's nibbles show 0 wherever the word must hold 0.
TEST(InstructionSet, HelpNibblesShowTheZeroBits) {
    for (const TInstructionInfo& info : InstructionSet) {
        if (!info.Executable) continue;
        ASSERT_NE(info.Forms[0].Assembly, nullptr) << info.Name;
        for (const TInstructionForm& form : info.Forms) {
            if (!form.Nibbles) continue;
            const std::string nibbles = form.Nibbles;
            ASSERT_EQ(nibbles.size(), 5u) << info.Name;
            for (int i = 0; i < 3; ++i) {
                const bool mustBeZero = (info.ZeroBits >> (8 - 4 * i) & 0xF) != 0;
                EXPECT_TRUE(!mustBeZero || nibbles[2 * i] == '0') << info.Name << " nibble " << i;
            }
        }
    }
}

}  // namespace
