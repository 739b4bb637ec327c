#include "core/runnotes.h"

#include "core/float8.h"
#include "core/hex.h"

std::string RunNoteText(const TRunNote& note) {
    const std::string at = FormatHex(note.Pc, 2);
    switch (note.Kind) {
        case TRunNoteKind::DataExecuted:
            return "executing data at " + at + ": db placed these bytes" +
                   (note.Line >= 0 ? " (line " + std::to_string(note.Line + 1) + ")" : "");
        case TRunNoteKind::PcWrapped:
            return "PC wrapped from " + at + " to " + FormatHex((note.Pc + 2) & 0xFF, 2) +
                   ": the program ran past the end of memory";
        case TRunNoteKind::InexactAddf: {
            const int a = DecodeFloat8(note.A), b = DecodeFloat8(note.B);
            return "addf at " + at + ": " + std::to_string(a) + " + " + std::to_string(b) + " = " +
                   std::to_string(a + b) + " does not fit in float8, so R" +
                   FormatHex(note.Register, 1) + " gets " +
                   std::to_string(DecodeFloat8(note.Result)) + " (" + FormatHex(note.Result, 2) +
                   ")";
        }
        case TRunNoteKind::CodeWritten:
            return "the store at " + at + " writes into the program's own code at " +
                   FormatHex(note.Address, 2);
    }
    return {};
}

void TRunWatch::Load(const TPlacement& placement, const std::array<int, 256>& lines) {
    placement_ = placement;
    lines_ = lines;
    Restart();
}

void TRunWatch::Restart() {
    for (std::size_t a = 0; a < 256; ++a) {
        // An instruction at a reads a and the byte after it, which may be data alone.
        dataAt_[a] = placement_[a] == TPlaced::Data || placement_[(a + 1) & 0xFF] == TPlaced::Data;
        code_[a] = placement_[a] == TPlaced::Code;
    }
    storesNoted_.reset();
    addfsNoted_.reset();
    wrapNoted_ = false;
}

std::vector<TRunNote> TRunWatch::Take() {
    std::vector<TRunNote> notes;
    notes.swap(notes_);
    return notes;
}

void TRunWatch::NoteData(int pc) {
    const std::size_t first = static_cast<std::size_t>(pc), second = (first + 1) & 0xFF;
    dataAt_[first] = false;
    // Executed, the bytes are code now: a store into them rewrites the program.
    code_[first] = code_[second] = true;
    TRunNote note{TRunNoteKind::DataExecuted, pc};
    note.Line = lines_[placement_[first] == TPlaced::Data ? first : second];
    notes_.push_back(note);
}

void TRunWatch::NoteWrap(int pc) {
    if (wrapNoted_) return;
    wrapNoted_ = true;
    notes_.push_back({TRunNoteKind::PcWrapped, pc});
}

void TRunWatch::AddedFloat(int pc, int reg, int a, int b, int result) {
    if (DecodeFloat8(a) + DecodeFloat8(b) == DecodeFloat8(result)) return;
    if (addfsNoted_.test(static_cast<std::size_t>(pc))) return;
    addfsNoted_.set(static_cast<std::size_t>(pc));
    TRunNote note{TRunNoteKind::InexactAddf, pc};
    note.Register = reg;
    note.A = a;
    note.B = b;
    note.Result = result;
    notes_.push_back(note);
}

void TRunWatch::NoteCodeWritten(int pc, int address) {
    if (storesNoted_.test(static_cast<std::size_t>(pc))) return;
    storesNoted_.set(static_cast<std::size_t>(pc));
    TRunNote note{TRunNoteKind::CodeWritten, pc};
    note.Address = address;
    notes_.push_back(note);
}
