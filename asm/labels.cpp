// Labels: defined at the start of a line, used as operands before or after that. A use of
// a label not yet defined leaves a fix-up that the definition fills in.
#include "asm/asmparse.h"
#include "asm/messages.h"

// False with lastError_ set when the label was defined before (the table is unchanged) or
// when filling in its earlier uses failed; stopped tells the second case.
bool TAsmParser::DefineLabel(const Token& label, bool& stopped) {
    stopped = false;
    const int value = locationCounter_ & 0xFF;
    TLabelEntry* entry = labels_.Find(TokenText(label));
    if (entry == nullptr) {
        labels_.Add(TokenText(label), value, lineIndex_, label.EndCol);
        return true;
    }
    if (entry->Defined()) {
        lastError_.assign(AsmMessages::AlreadyDefined)
            .append(std::to_string(entry->Line + 1))
            .append(".");
        return false;
    }
    entry->Value = value;
    entry->Line = lineIndex_;
    entry->Column = label.EndCol;
    stopped = !labels_.TakeFixUps(*entry, [&](int address) { return Emit(address, value); });
    return !stopped;
}

// Places the label's value at address now, or leaves a fix-up for its definition.
// False with lastError_ set when the byte cannot be placed there.
bool TAsmParser::ReferenceLabel(const Token& label, int address) {
    TLabelEntry* entry = labels_.Find(TokenText(label));
    if (entry != nullptr && entry->Defined()) return Emit(address, entry->Value);
    if (address < 0 || address > 255) {
        lastError_ = address < 0 ? AsmMessages::AddressBelow0 : AsmMessages::AddressAbove255;
        return false;
    }
    if (entry == nullptr) entry = &labels_.Add(TokenText(label), 0, lineIndex_, label.EndCol);
    labels_.AddFixUp(*entry, static_cast<std::uint8_t>(address));
    return true;
}

std::optional<int> TAsmParser::LabelValue(std::string_view name) const {
    const TLabelEntry* entry = labels_.Find(name);
    if (entry == nullptr || !entry->Defined()) return std::nullopt;
    return entry->Value;
}
