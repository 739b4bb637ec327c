#include "cli/args.h"

#include <cctype>
#include <limits>

#include "core/hex.h"

TArgs::TArgs(const std::vector<std::string>& args, const TArgRules& rules) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (rules.ValueOptions.count(a)) {
            if (i + 1 >= args.size()) throw EUsageError("option " + a + " needs a value");
            values_[a].push_back(args[++i]);
        } else if (rules.Flags.count(a)) {
            flags_.insert(a);
        } else if (a.size() > 1 && a[0] == '-') {
            throw EUsageError("unknown option " + a);
        } else {
            positionals_.push_back(a);
        }
    }
    const auto given = static_cast<int>(positionals_.size());
    if (given < rules.Positionals || (given > rules.Positionals && !rules.MorePositionals))
        throw EUsageError(positionals_.size() < static_cast<size_t>(rules.Positionals)
                              ? "missing file name"
                              : "too many arguments: " + positionals_.back());
}

bool TArgs::Has(const std::string& name) const {
    return flags_.count(name) > 0;
}

std::optional<std::string> TArgs::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second.back();
}

std::vector<std::string> TArgs::Values(const std::string& name) const {
    auto it = values_.find(name);
    return it == values_.end() ? std::vector<std::string>{} : it->second;
}

int ParseHexByte(const std::string& option, const std::string& text) {
    const int value = text.empty() || text.size() > 2 ? -1 : ParseHex(text);
    if (value < 0) throw EUsageError(option + " takes one or two hex digits, not '" + text + "'");
    return value;
}

long long ParseCount(const std::string& option, const std::string& text) {
    const auto bad = [&] {
        return EUsageError(option + " takes a whole number, not '" + text + "'");
    };
    if (text.empty()) throw bad();
    long long value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) throw bad();
        const int digit = c - '0';
        if (value > (std::numeric_limits<long long>::max() - digit) / 10) throw bad();
        value = value * 10 + digit;
    }
    return value;
}
