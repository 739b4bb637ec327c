#pragma once
// A small parser for "subcommand FILE... [--option VALUE] [--flag]" command lines: options
// and files in any order, "--option=VALUE" for any option that takes a value, "--" before
// files whose names begin with a dash, and "-" as a file (standard input or output).

#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

class EUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct TArgRules {
    // One-letter options are named by their short spelling ("-o" for "--output" too).
    std::set<std::string> ValueOptions;  // take the next argument, e.g. "--pc"
    std::set<std::string> Flags;         // stand alone, e.g. "--dump"
    int Positionals = 1;
    bool MorePositionals = false;  // Positionals is then the least number
};

class TArgs {
public:
    // Throws EUsageError with a one-line message for anything it cannot take.
    TArgs(const std::vector<std::string>& args, const TArgRules& rules);

    const std::vector<std::string>& Positionals() const { return positionals_; }
    bool Has(const std::string& name) const;
    // The last value given to the option.
    std::optional<std::string> Value(const std::string& name) const;
    // Every value given to the option, in order.
    std::vector<std::string> Values(const std::string& name) const;

private:
    std::vector<std::string> positionals_;
    std::map<std::string, std::vector<std::string>> values_;
    std::set<std::string> flags_;
};

// Whether "--help" or "-h" comes before any "--".
bool WantsHelp(const std::vector<std::string>& args);

// "--pc" takes one or two hex digits; throws EUsageError otherwise.
int ParseHexByte(const std::string& option, const std::string& text);
// A decimal count 0..9223372036854775807, leading zeros allowed; throws EUsageError
// otherwise.
long long ParseCount(const std::string& option, const std::string& text);
