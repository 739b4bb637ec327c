#include "core/disasm.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

#include "core/execute.h"
#include "core/instruction.h"

namespace {

constexpr int VisibleAbove = 3;  // a followed line shows as the fourth visible one

template <class... Args>
std::string Format(const char* format, Args... args) {
    char buffer[64];
    const int n = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

// Fills an instruction's disassembly format with the word's fields.
std::string Fill(const char* format, TInstructionWord w) {
    std::string text;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            text += *p;
            continue;
        }
        switch (*++p) {
            case 'r':
            case 'x':
            case 'y': {
                const int shift = *p == 'r' ? 8 : *p == 'x' ? 4 : 0;
                text += Format("%X", (w.Word >> shift) & 0xF);
                break;
            }
            case 'b':
                text += Format("%02X", w.XY());
                break;
            case 's':
                text += Format("%i", static_cast<int>(static_cast<signed char>(w.XY())));
                break;
            default:
                return text;  // a format ends only at its terminator
        }
    }
    return text;
}

}  // namespace

std::string InstructionText(int word) {
    const TInstructionWord w{word & 0xFFFF};
    if (!IsValidInstruction(w)) return InstructionSet[0].Disassembly;
    return Fill(InstructionSet[w.Op()].Disassembly, w);
}

std::string DisassembleAt(const CellStore& memory, int address, int& word) {
    const int b1 = memory.GetContents(address) & 0xFF;
    const int b2 = memory.GetContents((address + 1) & 0xFF) & 0xFF;
    word = b1 * 256 + b2;
    return Format("%02X:  %02X,%02X  ", address, b1, b2) + InstructionText(word);
}

std::string DisassembleAt(const CellStore& memory, int address) {
    int word = 0;
    return DisassembleAt(memory, address, word);
}

void WriteListing(std::ostream& out, const CellStore& memory, int pc) {
    int zeroRun = 0;
    for (int address = pc & 1; address <= 255; address += 2) {
        int word = 0;
        const std::string line = DisassembleAt(memory, address, word);
        zeroRun = word == 0 ? zeroRun + 1 : 0;
        if (zeroRun <= 1)
            out << line << "\r\n";
        else if (zeroRun <= 3)
            out << std::string(14, ' ') << "\"\r\n";
    }
}

std::string ListingFileName(const std::string& tempLstFile, const std::string& tempDir) {
#ifdef _WIN32
    const bool hasFolder = tempLstFile.find_first_of("/\\") != std::string::npos;
#else
    const bool hasFolder = tempLstFile.find('/') != std::string::npos;
#endif
    return hasFolder ? tempLstFile : tempDir + tempLstFile;
}

TDisasmList::TDisasmList() {
    const TCellStore zeros(256);
    Rebuild(zeros, 0);
}

void TDisasmList::Rebuild(const CellStore& memory, int alignment) {
    alignment_ = alignment & 1;
    lines_.resize(LineCount);
    for (int i = 0; i < LineCount; ++i) lines_[i] = DisassembleAt(memory, 2 * i + alignment_);
}

TDisasmList::MemoryChange TDisasmList::MemoryChanged(const CellStore& memory, int index,
                                                     int oldValue, int newValue, int pc,
                                                     bool executing, int currentTopLine,
                                                     bool deferText) {
    MemoryChange change;
    if (newValue == oldValue) return change;
    change.Handled = true;
    const int lineAddress = (pc & 1) ? ((index - 1) | 1) & 0xFF : index & 0xFE;
    change.Line = lineAddress / 2;
    change.TopLine = currentTopLine;
    if (!executing) {
        change.MarkModified = true;
        change.TopLine = change.Line - VisibleAbove;
    }
    if (!deferText) lines_[change.Line] = DisassembleAt(memory, lineAddress);
    change.Reselect = (pc & 0xFF) == lineAddress;
    return change;
}

void TDisasmList::RewriteLine(const CellStore& memory, int line) {
    lines_[line] = DisassembleAt(memory, (2 * line + alignment_) & 0xFF);
}

TDisasmList::PcChange TDisasmList::PcChanged(const CellStore& memory, int index, int newValue) {
    PcChange change;
    if (index != PcIndex) return change;
    change.Handled = true;  // an unchanged PC still brings its line back into view
    if ((newValue & 1) != alignment_) {
        Rebuild(memory, newValue & 1);
        change.Rebuilt = true;
    }
    change.SelectLine = LineOfAddress(newValue);
    change.TopLine = std::max(0, change.SelectLine - VisibleAbove);
    return change;
}
