#include "cli/args.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "core/hex.h"

namespace {

// The long spellings of one-letter options; the rules and TArgs name the short one.
const std::map<std::string, std::string> LongNames = {{"--output", "-o"}, {"--quiet", "-q"}};

std::string ShortName(const std::string& name) {
    const auto it = LongNames.find(name);
    return it == LongNames.end() ? name : it->second;
}

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

TArgs::TArgs(const std::vector<std::string>& args, const TArgRules& rules) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || !IsOption(a)) {
            positionals_.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value"; a one-letter option takes its value as the next argument.
        const size_t equals = a.starts_with("--") ? a.find('=') : std::string::npos;
        const std::string typed = a.substr(0, equals);
        const std::string name = ShortName(typed);
        if (rules.ValueOptions.count(name)) {
            if (equals != std::string::npos)
                values_[name].push_back(a.substr(equals + 1));
            else if (i + 1 < args.size())
                values_[name].push_back(args[++i]);
            else
                throw EUsageError("option " + typed + " needs a value");
        } else if (rules.Flags.count(name)) {
            if (equals != std::string::npos)
                throw EUsageError("option " + typed + " takes no value");
            flags_.insert(name);
        } else {
            throw EUsageError("unknown option " + typed);
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

bool WantsHelp(const std::vector<std::string>& args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end,
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
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
