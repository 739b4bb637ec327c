// Labels: defined at the start of a line, used as operands before or after that. A use of
// a label not yet defined leaves a fix-up that the definition fills in.
#include "asm/asmparse.h"
#include "asm/messages.h"

// False with lastError_ set when the label was defined before (the table is unchanged) or
// when filling in its earlier uses failed; stopped tells the second case.
bool TAsmParser::DefineLabel(const Token& label, bool& stopped) {
    stopped = false;
    const std::string_view name = TokenText(label);
    const int value = locationCounter_ & 0xFF;
    const auto found = labelIndex_.find(name);
    if (found == labelIndex_.end()) {
        labelIndex_.emplace(name, labels_.size());
        labels_.push_back({std::string(name), value, {}, lineIndex_, label.EndCol});
        return true;
    }
    TLabelEntry& entry = labels_[found->second];
    if (entry.Defined()) {
        lastError_.assign(AsmMessages::AlreadyDefined)
            .append(std::to_string(entry.Line + 1))
            .append(".");
        return false;
    }
    entry.Value = value;
    entry.Line = lineIndex_;
    entry.Column = label.EndCol;
    std::size_t done = 0;
    for (; done < entry.FixUps.size(); ++done) {
        if (!Emit(entry.FixUps[done], value)) break;
    }
    entry.FixUps.erase(entry.FixUps.begin(), entry.FixUps.begin() + static_cast<long>(done));
    stopped = !entry.FixUps.empty();
    return !stopped;
}

// Places the label's value at address now, or leaves a fix-up for its definition.
// False with lastError_ set when the byte cannot be placed there.
bool TAsmParser::ReferenceLabel(const Token& label, int address) {
    const std::string_view name = TokenText(label);
    const auto found = labelIndex_.find(name);
    if (found != labelIndex_.end() && labels_[found->second].Defined())
        return Emit(address, labels_[found->second].Value);
    if (address < 0 || address > 255) {
        lastError_ = address < 0 ? AsmMessages::AddressBelow0 : AsmMessages::AddressAbove255;
        return false;
    }
    if (found != labelIndex_.end()) {
        labels_[found->second].FixUps.push_back(static_cast<std::uint8_t>(address));
    } else {
        labelIndex_.emplace(name, labels_.size());
        labels_.push_back(
            {std::string(name), 0, {static_cast<std::uint8_t>(address)}, lineIndex_, label.EndCol});
    }
    return true;
}

std::optional<int> TAsmParser::LabelValue(std::string_view name) const {
    const auto found = labelIndex_.find(name);
    if (found == labelIndex_.end() || !labels_[found->second].Defined()) return std::nullopt;
    return labels_[found->second].Value;
}
