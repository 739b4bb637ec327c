#pragma once
// Text form of instructions: one line per address, the listing file, and the
// 128-line list the main window shows beside memory.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/cellstore.h"

// "AA:  B1,B2  text" for the instruction at address (0..255); the second byte
// comes from (address + 1) mod 256.
std::string DisassembleAt(const CellStore& memory, int address);
std::string DisassembleAt(const CellStore& memory, int address, int& word);

// Instruction text alone (from column 12 of a line), "invalid" for an invalid word.
std::string InstructionText(int word);

// The listing: every second address from pc mod 2, runs of zero words shortened
// to two ditto lines, CR LF line ends.
void WriteListing(std::ostream& out, const CellStore& memory, int pc);

// The listing file's path: the name as it is when it already holds a folder,
// else inside the temporary folder (which ends in a separator).
std::string ListingFileName(const std::string& tempLstFile, const std::string& tempDir);

// The model behind the disassembly list: 128 lines for the addresses 2i + alignment.
class TDisasmList {
public:
    static constexpr int LineCount = 128;

    TDisasmList();  // alignment 0, all-zero memory

    const std::string& Line(int line) const { return lines_[line]; }
    int Alignment() const { return alignment_; }
    static int LineOfAddress(int address) { return (address & 0xFF) / 2; }
    static int AddressOfLine(int line, int pc) { return 2 * line + (pc & 1); }

    void Rebuild(const CellStore& memory, int alignment);

    // What the view does after a memory write.
    struct MemoryChange {
        bool Handled = false;       // false: nothing to do (value unchanged)
        int Line = 0;               // the rewritten line
        bool MarkModified = false;  // the user's write, not the program's
        bool Reselect = false;      // PC sits on this line: select it again
        int TopLine = 0;            // restore this top line (negative: leave it)
    };
    // With deferText the line's text is left as it was, for RewriteLine: a frozen view
    // rewrites each changed line once, when it thaws.
    MemoryChange MemoryChanged(const CellStore& memory, int index, int oldValue, int newValue,
                               int pc, bool executing, int currentTopLine, bool deferText = false);
    // The line's text anew from memory, at the current alignment.
    void RewriteLine(const CellStore& memory, int line);

    // What the view does after a PC write.
    struct PcChange {
        bool Handled = false;  // false: not PC
        bool Rebuilt = false;  // alignment changed, every line was rewritten
        int SelectLine = 0;
        int TopLine = 0;
    };
    PcChange PcChanged(const CellStore& memory, int index, int newValue);

private:
    std::vector<std::string> lines_;
    int alignment_ = 0;
};
