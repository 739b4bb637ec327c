#include "asm/warnings.h"

#include <algorithm>
#include <bitset>

#include "asm/asmparse.h"
#include "core/hex.h"
#include "core/instruction.h"

namespace {

class TWarningFinder {
public:
    explicit TWarningFinder(const TAsmParser& parser) : parser_(parser) {
        for (const TAsmInstruction& i : parser.Instructions()) {
            starts_.set(static_cast<std::size_t>(i.Address & 0xFF));
            const TInstructionWord w = Word(i);
            const auto op = static_cast<TOpcode>(w.Op());
            if (op == TOpcode::LoadIndirect || op == TOpcode::StoreIndirect)
                addressRegisters_.set(static_cast<std::size_t>(w.Y()));
            if (i.Label >= 0) usedLabels_.push_back(i.Label);
        }
        std::sort(usedLabels_.begin(), usedLabels_.end());
    }

    std::vector<TAsmWarning> Find() {
        for (const TAsmInstruction& i : parser_.Instructions()) {
            LoadOfAddress(i);
            RunIntoData(i);
            Jump(i);
        }
        NeverStops();
        UnusedLabels();
        std::stable_sort(warnings_.begin(), warnings_.end(), [](const auto& a, const auto& b) {
            return a.Line != b.Line ? a.Line < b.Line : a.Column < b.Column;
        });
        return std::move(warnings_);
    }

private:
    TInstructionWord Word(const TAsmInstruction& i) const {
        return {parser_.MemoryByte(i.Address & 0xFF) * 256 +
                parser_.MemoryByte((i.Address + 1) & 0xFF)};
    }
    bool IsData(int address) const {
        return parser_.Placement()[static_cast<std::size_t>(address & 0xFF)] == TPlaced::Data;
    }
    std::string LabelName(int label) const {
        return std::string(parser_.Labels().Name(parser_.Labels().Entries()[std::size_t(label)]));
    }
    // "count (80)", or "80" for a number operand.
    std::string Target(const TAsmInstruction& i, int address) const {
        const std::string hex = FormatHex(address, 2);
        return i.Label >= 0 ? LabelName(i.Label) + " (" + hex + ")" : hex;
    }
    static bool IsJump(TInstructionWord w) {
        return w.Op() == int(TOpcode::JumpEqual) || w.Op() == int(TOpcode::JumpLessEqual);
    }
    // jmp, and either jump comparing R0 with itself.
    static bool AlwaysJumps(TInstructionWord w) { return IsJump(w) && w.R() == 0; }
    void Warn(int line, int column, std::string text) {
        warnings_.push_back({line, column, std::move(text)});
    }

    // "load R1,count" where count is data and R1 never serves as an address.
    void LoadOfAddress(const TAsmInstruction& i) {
        const TInstructionWord w = Word(i);
        if (w.Op() != int(TOpcode::LoadImmediate) || i.Label < 0 || !IsData(w.XY()) ||
            addressRegisters_.test(static_cast<std::size_t>(w.R())))
            return;
        const std::string name = LabelName(i.Label);
        Warn(i.Line, i.OperandColumn,
             "loads the address of " + Target(i, w.XY()) + ", not its value: did you mean load R" +
                 FormatHex(w.R(), 1) + ",[" + name + "]?");
    }

    void RunIntoData(const TAsmInstruction& i) {
        const TInstructionWord w = Word(i);
        const int next = (i.Address + 2) & 0xFF;
        if (w.Op() == int(TOpcode::Halt) || AlwaysJumps(w) || !IsData(next)) return;
        Warn(i.Line, i.Column,
             "runs straight into the data at " + FormatHex(next, 2) + " (db on line " +
                 std::to_string(parser_.SourceLine(next) + 1) + "): is a halt or jmp missing?");
    }

    void Jump(const TAsmInstruction& i) {
        const TInstructionWord w = Word(i);
        if (!IsJump(w)) return;
        if (IsData(w.XY()))
            Warn(i.Line, i.OperandColumn,
                 "jumps to " + Target(i, w.XY()) + ", which is data placed by db");
        else if (w.XY() % 2 != 0 && !starts_.test(w.XY()))
            Warn(i.Line, i.OperandColumn,
                 "jumps to the odd address " + Target(i, w.XY()) +
                     ", where no instruction starts: instructions are two bytes long");
    }

    void NeverStops() {
        const auto& all = parser_.Instructions();
        if (all.empty()) return;
        for (const TAsmInstruction& i : all) {
            const TInstructionWord w = Word(i);
            if (w.Op() == int(TOpcode::Halt) || (IsJump(w) && w.XY() == (i.Address & 0xFF))) return;
        }
        Warn(all.back().Line, all.back().Column,
             "the program never stops: there is no halt and no jump to itself");
    }

    void UnusedLabels() {
        const TLabelTable& labels = parser_.Labels();
        for (std::size_t n = 0; n < labels.Entries().size(); ++n) {
            if (std::binary_search(usedLabels_.begin(), usedLabels_.end(), int(n))) continue;
            const TLabelEntry& label = labels.Entries()[n];
            Warn(label.Line, label.Column - static_cast<int>(label.NameLength),
                 "the label " + LabelName(int(n)) + " is never used");
        }
    }

    const TAsmParser& parser_;
    std::bitset<256> starts_;           // addresses where an instruction starts
    std::bitset<16> addressRegisters_;  // registers some [Rn] uses as an address
    std::vector<int> usedLabels_;       // label indices used as operands, sorted
    std::vector<TAsmWarning> warnings_;
};

}  // namespace

std::vector<TAsmWarning> AsmWarnings(const TAsmParser& parser) {
    return TWarningFinder(parser).Find();
}
