#pragma once
// Notes a run makes about the classic mistakes, without stopping: executing bytes the last
// assembly placed as data, PC running past FF, an addf whose exact sum float8 cannot hold,
// and a program writing into its own code. The engine calls the watch's hooks; each note
// is made once per run (per address where that matters), so a loop does not repeat it.

#include <array>
#include <bitset>
#include <string>
#include <vector>

#include "core/placement.h"

enum class TRunNoteKind { DataExecuted, PcWrapped, InexactAddf, CodeWritten };

struct TRunNote {
    TRunNoteKind Kind;
    int Pc;           // of the instruction
    int Address = 0;  // CodeWritten: the cell written
    int Line = -1;    // DataExecuted: the 0-based source line that placed the data
    // InexactAddf: the destination register, the two values added and the byte written.
    int Register = 0, A = 0, B = 0, Result = 0;
};

// The note as the status bar and standard error show it.
std::string RunNoteText(const TRunNote& note);

class TRunWatch {
public:
    // The program just loaded: placement and the lines of its bytes (-1 for none).
    void Load(const TPlacement& placement, const std::array<int, 256>& lines);
    // A new run (or step) notes everything anew.
    void Restart();
    // The notes made since the last call.
    std::vector<TRunNote> Take();

    // --- hooks of the engine ---
    void Fetched(int pc) {
        if (dataAt_[static_cast<std::size_t>(pc)]) NoteData(pc);
    }
    // An instruction at pc that went on to the next one (no jump taken).
    void WentOn(int pc) {
        if (pc >= 0xFE) [[unlikely]]
            NoteWrap(pc);
    }
    void AddedFloat(int pc, int reg, int a, int b, int result);
    void Stored(int pc, int address) {
        if (code_[static_cast<std::size_t>(address)]) NoteCodeWritten(pc, address);
    }

private:
    void NoteData(int pc);
    void NoteWrap(int pc);
    void NoteCodeWritten(int pc, int address);

    TPlacement placement_{};
    std::array<int, 256> lines_{};
    // Per run: instruction addresses whose bytes are data not noted yet, the bytes known as
    // code (assembled as instructions, or data executed since), stores and addfs noted.
    std::array<bool, 256> dataAt_{}, code_{};
    std::bitset<256> storesNoted_, addfsNoted_;
    bool wrapNoted_ = false;
    std::vector<TRunNote> notes_;
};
