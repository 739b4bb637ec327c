#include "core/valuecard.h"

#include <algorithm>
#include <cstdio>

#include "core/cp437.h"
#include "core/float8.h"
#include "core/history.h"
#include "core/trace.h"

namespace {

template <class... Args>
std::string Format(const char* format, Args... args) {
    char buffer[96];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    // A longer text is cut where snprintf cut it, never read past the buffer.
    return std::string(buffer, std::clamp<size_t>(n > 0 ? n : 0, 0, sizeof buffer - 1));
}

// "2F41  load RF,41": the word as IR shows it and its text as the trace writes it.
std::string Instruction(int word) {
    return Format("%04X  ", word) + std::string(TraceInstruction(word));
}

// The ASCII names of the control codes, which have no character to show.
constexpr const char* ControlNames[32] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
};

std::string Character(int byte) {
    if (byte < 32) return Format("Character %s (control)", ControlNames[byte]);
    if (byte == 0x7F) return "Character DEL (control)";
    return "Character '" + Cp437ToUtf8(std::string(1, static_cast<char>(byte))) + "'";
}

// "Float8 -1920 = -15 × 2^7": the value and the fields it comes from, the sign bit
// included, so that 80 reads as the negative zero it is.
std::string Float8(int byte) {
    return Format("Float8 %d = %s%d \u00D7 2^%d", DecodeFloat8(byte), byte & 0x80 ? "-" : "",
                  byte & 0x0F, (byte >> 4) & 7);
}

void AddByte(std::vector<std::string>& lines, int byte) {
    lines.push_back(Format("Hex %02X  Unsigned %d  Signed %d", byte, byte,
                           static_cast<int>(static_cast<signed char>(byte))));
    lines.push_back(Float8(byte));
    lines.push_back(Character(byte));
}

void AddLastWrite(std::vector<std::string>& lines, const THistory& history, TWriteKind kind,
                  int index) {
    const auto e = history.LastWriteOf(kind, index);
    if (!e) return;
    lines.push_back(Format("written by step %lld at %02X: ", e->Step, e->Pc) +
                    std::string(TraceInstruction(e->Word)));
    lines.push_back(Format("value before hex %02X", e->Write.Old));
}

bool IsByte(int value) {
    return value >= 0 && value <= 0xFF;
}

}  // namespace

std::vector<std::string> ValueCard(const TMachineStores& m, const THistory& history,
                                   TValueCell cell, int index) {
    std::vector<std::string> lines;
    switch (cell) {
        case TValueCell::Memory: {
            if (index < 0 || index >= m.MainMemory.Count()) break;
            const int byte = m.MainMemory.GetContents(index);
            const int next = m.MainMemory.GetContents((index + 1) & 0xFF);
            if (!IsByte(byte)) break;
            lines.push_back(Format("Memory [%02X]", index));
            AddByte(lines, byte);
            if (IsByte(next)) lines.push_back("Instruction " + Instruction(byte * 256 + next));
            AddLastWrite(lines, history, TWriteKind::Memory, index);
            break;
        }
        case TValueCell::Register: {
            if (index < 0 || index >= m.Registers.Count()) break;
            const int byte = m.Registers.GetContents(index);
            if (!IsByte(byte)) break;
            lines.push_back(Format("Register R%X", index));
            AddByte(lines, byte);
            AddLastWrite(lines, history, TWriteKind::Register, index);
            break;
        }
        case TValueCell::SysReg: {
            // PC is an address and IR a word: every step writes both, so the history
            // has nothing to add; the card shows the instruction each one points at.
            if (index == PcIndex) {
                const int pc = m.SysRegs.GetContents(PcIndex);
                if (!IsByte(pc)) break;
                const int b1 = m.MainMemory.GetContents(pc);
                const int b2 = m.MainMemory.GetContents((pc + 1) & 0xFF);
                lines.push_back("PC");
                lines.push_back(Format("Hex %02X  Unsigned %d", pc, pc));
                if (IsByte(b1) && IsByte(b2))
                    lines.push_back("Next instruction " + Instruction(b1 * 256 + b2));
            } else if (index == IrIndex) {
                const int ir = m.SysRegs.GetContents(IrIndex);
                if (ir < 0 || ir > 0xFFFF) break;
                lines.push_back("IR");
                lines.push_back("Instruction " + Instruction(ir));
            }
            break;
        }
    }
    return lines;
}
