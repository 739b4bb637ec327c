#include "grading/testfile.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <tuple>

#include "core/cp437.h"
#include "core/fileerror.h"
#include "core/hex.h"
#include "core/readfile.h"
#include "grading/toml.h"

namespace {

// A test file is a page of text; anything this large is not one.
constexpr std::size_t MaxTestFileBytes = 16u << 20;
constexpr long long MaxPoints = 1'000'000;
constexpr long long MaxSteps = 1'000'000'000;
constexpr long long MaxSeed = 9'223'372'036'854'775'807;

// What a test takes from the file when it does not set it itself.
struct TFileDefaults {
    long long MaxSteps = DefaultTestMaxSteps;
    TTestFill Fill = TTestFill::Zero;
    std::optional<std::uint64_t> Seed;
};

// FNV-1a, 64 bits: the seed of a test that names none, from its name.
std::uint64_t NameSeed(std::string_view name) {
    std::uint64_t hash = 0xCBF29CE484222325u;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001B3u;
    return hash;
}

const char* TypeName(const toml::node& node) {
    switch (node.type()) {
        case toml::node_type::string:
            return "a string";
        case toml::node_type::integer:
            return "an integer";
        case toml::node_type::floating_point:
            return "a floating-point number";
        case toml::node_type::boolean:
            return "a boolean";
        case toml::node_type::table:
            return "a table";
        case toml::node_type::array:
            return "a list";
        default:
            return "a date or time";
    }
}

// An integer written without a 0x, 0o or 0b prefix.
bool WrittenInDecimal(const toml::node& node) {
    const auto* integer = node.as_integer();
    return integer &&
           (integer->flags() & toml::value_flags::format_as_hexadecimal) == toml::value_flags::none;
}

bool TextOrder(const TTestFileMistake& a, const TTestFileMistake& b) {
    return std::tie(a.Line, a.Column) < std::tie(b.Line, b.Column);
}

class TReader {
public:
    TReader(std::vector<TTestFileMistake>& mistakes, long long& omitted)
        : mistakes_(mistakes), omitted_(omitted) {}

    TTestFile Read(const toml::table& root, const std::string& path);

private:
    // Keeps only the first mistakes in the text, so that a file full of them costs no
    // more than a few of them.
    void Mistake(const toml::source_region& at, std::string message) {
        mistakes_.push_back({static_cast<int>(at.begin.line ? at.begin.line : 1),
                             static_cast<int>(at.begin.column ? at.begin.column : 1),
                             std::move(message)});
        if (mistakes_.size() <= ETestFileError::MaxListed) return;
        mistakes_.erase(std::max_element(mistakes_.begin(), mistakes_.end(), TextOrder));
        ++omitted_;
    }
    // Reports every key of table not in allowed; false when there was one.
    bool OnlyKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                  std::string_view owner);
    std::optional<long long> Integer(const toml::node& node, const std::string& what, long long min,
                                     long long max);
    std::optional<std::string> String(const toml::node& node, const std::string& what);
    std::optional<bool> Boolean(const toml::node& node, const std::string& what);
    // Reads "fill" and "seed" of table (the file or a test) over defaults.
    void FillAndSeed(const toml::table& table, TFileDefaults& defaults);
    const toml::table* Table(const toml::node& node, const std::string& what);

    // decimal, when given, collects the registers or addresses whose byte is written in
    // decimal.
    TByteMap Registers(const toml::node& node, const std::string& what,
                       std::set<int>* decimal = nullptr);
    TByteMap Memory(const toml::node& node, const std::string& what,
                    std::set<int>* decimal = nullptr);
    std::optional<TStepResult> Status(const toml::node& node);
    std::optional<std::string> Output(const toml::node& node);
    TTestExpect Expect(const toml::table& table);
    // Nothing when node is no table; good tells whether the test was free of mistakes.
    std::optional<TTestCase> Test(const toml::node& node, const TFileDefaults& file, bool& good);

    std::vector<TTestFileMistake>& mistakes_;
    long long& omitted_;
};

bool TReader::OnlyKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                       std::string_view owner) {
    bool good = true;
    for (auto&& [key, node] : table) {
        if (std::find(allowed.begin(), allowed.end(), key.str()) != allowed.end()) continue;
        std::string list;
        for (std::string_view a : allowed) list += (list.empty() ? "" : ", ") + std::string(a);
        Mistake(key.source(), "unknown key '" + std::string(key.str()) + "'; " +
                                  std::string(owner) + " takes " + list);
        good = false;
    }
    return good;
}

std::optional<long long> TReader::Integer(const toml::node& node, const std::string& what,
                                          long long min, long long max) {
    const std::string range = std::to_string(min) + ".." + std::to_string(max);
    const auto* integer = node.as_integer();
    if (!integer) {
        Mistake(node.source(), what + " must be an integer " + range + ", not " + TypeName(node));
        return std::nullopt;
    }
    const long long value = integer->get();
    if (value < min || value > max) {
        Mistake(node.source(), what + " must be " + range + ", not " + std::to_string(value));
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> TReader::String(const toml::node& node, const std::string& what) {
    if (const auto* string = node.as_string()) return string->get();
    Mistake(node.source(), what + " must be a string, not " + TypeName(node));
    return std::nullopt;
}

std::optional<bool> TReader::Boolean(const toml::node& node, const std::string& what) {
    if (const auto* boolean = node.as_boolean()) return boolean->get();
    Mistake(node.source(), what + " must be true or false, not " + TypeName(node));
    return std::nullopt;
}

void TReader::FillAndSeed(const toml::table& table, TFileDefaults& defaults) {
    if (const auto* n = table.get("fill")) {
        if (const auto text = String(*n, "fill")) {
            if (*text == "zero")
                defaults.Fill = TTestFill::Zero;
            else if (*text == "random")
                defaults.Fill = TTestFill::Random;
            else
                Mistake(n->source(), "fill must be \"zero\" or \"random\", not \"" + *text + "\"");
        }
    }
    if (const auto* n = table.get("seed")) {
        if (const auto v = Integer(*n, "seed", 0, MaxSeed))
            defaults.Seed = static_cast<std::uint64_t>(*v);
    }
}

const toml::table* TReader::Table(const toml::node& node, const std::string& what) {
    if (const auto* table = node.as_table()) return table;
    Mistake(node.source(), what + " must be a table, not " + TypeName(node));
    return nullptr;
}

TByteMap TReader::Registers(const toml::node& node, const std::string& what,
                            std::set<int>* decimal) {
    TByteMap values;
    const toml::table* table = Table(node, what);
    if (!table) return values;
    for (auto&& [key, value] : *table) {
        const std::string_view name = key.str();
        const int number =
            name.size() == 2 && (name[0] == 'R' || name[0] == 'r') ? HexDigitValue(name[1]) : -1;
        if (number < 0) {
            Mistake(key.source(),
                    "unknown register '" + std::string(name) + "'; the registers are R0..RF");
            continue;
        }
        const std::string reg = RegisterName(number);
        if (values.count(number)) {
            Mistake(key.source(), "register " + reg + " is given twice");
            continue;
        }
        if (const auto byte = Integer(value, reg, 0, 255)) {
            values[number] = static_cast<int>(*byte);
            if (decimal && WrittenInDecimal(value)) decimal->insert(number);
        }
    }
    return values;
}

TByteMap TReader::Memory(const toml::node& node, const std::string& what, std::set<int>* decimal) {
    TByteMap bytes;
    const toml::table* table = Table(node, what);
    if (!table) return bytes;
    std::array<int, 256> from;  // the address whose entry placed each byte, -1 for none
    from.fill(-1);
    for (auto&& [key, value] : *table) {
        const std::string_view name = key.str();
        const int address = name.size() == 2 ? ParseHex(name) : -1;
        if (address < 0) {
            Mistake(key.source(),
                    "memory address '" + std::string(name) + "' is not two hex digits");
            continue;
        }
        const std::string where = what + " " + HexByte(address);
        std::vector<std::pair<const toml::node*, std::string>> items;
        if (const auto* list = value.as_array()) {
            if (list->empty() || list->size() > 256) {
                Mistake(value.source(),
                        where + " must list 1..256 bytes, not " + std::to_string(list->size()));
                continue;
            }
            for (std::size_t i = 0; i < list->size(); ++i)
                items.emplace_back(list->get(i), what + " " + HexByte((address + i) & 0xFF));
        } else if (value.is_integer()) {
            items.emplace_back(&value, where);
        } else {
            Mistake(value.source(),
                    where + " must be a byte 0..255 or a list of bytes, not " + TypeName(value));
            continue;
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            const int a = static_cast<int>((address + i) & 0xFF);
            if (from[a] >= 0) {
                Mistake(key.source(), "the bytes from " + HexByte(address) +
                                          " overlap those from " + HexByte(from[a]) + " at " +
                                          HexByte(a));
                break;
            }
            from[a] = address;
            if (const auto byte = Integer(*items[i].first, items[i].second, 0, 255)) {
                bytes[a] = static_cast<int>(*byte);
                if (decimal && WrittenInDecimal(*items[i].first)) decimal->insert(a);
            }
        }
    }
    return bytes;
}

std::optional<TStepResult> TReader::Status(const toml::node& node) {
    const auto text = String(node, "status");
    if (!text) return std::nullopt;
    if (TStepResult result; ParseStatusName(*text, result)) return result;
    Mistake(node.source(),
            "status must be \"halted\", \"invalid\" or \"limit\", not \"" + *text + "\"");
    return std::nullopt;
}

std::optional<std::string> TReader::Output(const toml::node& node) {
    const auto text = String(node, "output");
    if (!text) return std::nullopt;
    // Compared byte for byte with what the program wrote, so every character must have
    // a code in the output window's character set.
    const auto converted = Utf8ToCp437(*text);
    if (!converted || Cp437ToUtf8(*converted) != *text) {
        Mistake(node.source(), "output holds a character that code page 437 lacks");
        return std::nullopt;
    }
    if (converted->find('\0') != std::string::npos) {
        Mistake(node.source(), "output cannot hold code 0, which a program never outputs");
        return std::nullopt;
    }
    return converted;
}

TTestExpect TReader::Expect(const toml::table& table) {
    TTestExpect expect;
    OnlyKeys(table, {"status", "output", "registers", "memory", "pc"}, "expect");
    if (const auto* node = table.get("status")) expect.Status = Status(*node);
    if (const auto* node = table.get("output")) expect.Output = Output(*node);
    if (const auto* node = table.get("registers"))
        expect.Registers = Registers(*node, "expect.registers", &expect.DecimalRegisters);
    if (const auto* node = table.get("memory"))
        expect.Memory = Memory(*node, "expect.memory", &expect.DecimalMemory);
    if (const auto* node = table.get("pc")) {
        if (const auto pc = Integer(*node, "expect.pc", 0, 255)) expect.Pc = static_cast<int>(*pc);
        expect.DecimalPc = WrittenInDecimal(*node);
    }
    return expect;
}

std::optional<TTestCase> TReader::Test(const toml::node& node, const TFileDefaults& file,
                                       bool& good) {
    good = false;
    const toml::table* table = Table(node, "each test");
    if (!table) return std::nullopt;
    const std::size_t before = mistakes_.size();
    TTestCase test;
    test.Line = static_cast<int>(node.source().begin.line);
    test.MaxSteps = file.MaxSteps;
    OnlyKeys(*table,
             {"name", "description", "hidden", "points", "pc", "max-steps", "fill", "seed",
              "registers", "memory", "expect"},
             "a test");
    if (const auto* name = table->get("name")) {
        if (const auto text = String(*name, "name")) {
            test.Name = *text;
            if (test.Name.empty()) Mistake(name->source(), "name must not be empty");
        }
    } else {
        Mistake(node.source(), "test has no name");
    }
    if (const auto* n = table->get("description")) {
        if (const auto text = String(*n, "description")) test.Description = *text;
    }
    if (const auto* n = table->get("hidden")) {
        if (const auto v = Boolean(*n, "hidden")) test.Hidden = *v;
    }
    if (const auto* n = table->get("points")) {
        if (const auto v = Integer(*n, "points", 0, MaxPoints)) test.Points = static_cast<int>(*v);
    }
    TFileDefaults own = file;
    FillAndSeed(*table, own);
    test.Fill = own.Fill;
    test.Seed = own.Seed ? *own.Seed : NameSeed(test.Name);
    if (const auto* n = table->get("pc")) {
        if (const auto v = Integer(*n, "pc", 0, 255)) test.Pc = static_cast<int>(*v);
    }
    if (const auto* n = table->get("max-steps")) {
        if (const auto v = Integer(*n, "max-steps", 1, MaxSteps)) test.MaxSteps = *v;
    }
    if (const auto* n = table->get("registers")) test.Registers = Registers(*n, "registers");
    if (const auto* n = table->get("memory")) test.Memory = Memory(*n, "memory");
    const std::string called = test.Name.empty() ? "test" : "test '" + test.Name + "'";
    const toml::node* expect = table->get("expect");
    if (!expect) {
        Mistake(node.source(), called + " has no expectation ([test.expect])");
    } else if (const toml::table* e = Table(*expect, "expect")) {
        const std::size_t inside = mistakes_.size();
        test.Expect = Expect(*e);
        // An expectation that was refused is reported already; only a truly empty one here.
        if (test.Expect.Empty() && mistakes_.size() == inside)
            Mistake(expect->source(), called + " has no expectation in its expect table");
    }
    good = mistakes_.size() == before;
    return test;
}

TTestFile TReader::Read(const toml::table& root, const std::string& path) {
    TTestFile file;
    file.Path = path;
    OnlyKeys(root, {"program", "max-steps", "fill", "seed", "warnings", "test"}, "a test file");
    if (const auto* n = root.get("warnings")) {
        if (const auto text = String(*n, "warnings")) {
            if (*text == "fail")
                file.WarningsFail = true;
            else if (*text != "allow")
                Mistake(n->source(),
                        "warnings must be \"allow\" or \"fail\", not \"" + *text + "\"");
        }
    }
    if (const auto* n = root.get("program")) {
        file.Program = String(*n, "program");
        if (file.Program && file.Program->empty()) {
            Mistake(n->source(), "program must not be empty");
            file.Program.reset();
        } else if (file.Program && file.Program->find('\0') != std::string::npos) {
            // A file name ends at its first NUL: the program loaded would not be the one named.
            Mistake(n->source(), "program must not hold the character U+0000");
            file.Program.reset();
        }
    }
    TFileDefaults defaults;
    if (const auto* n = root.get("max-steps")) {
        if (const auto v = Integer(*n, "max-steps", 1, MaxSteps)) defaults.MaxSteps = *v;
    }
    FillAndSeed(root, defaults);
    const toml::node* tests = root.get("test");
    const toml::array* list = tests ? tests->as_array() : nullptr;
    if (!tests) {
        Mistake({}, "the file has no test; add one with [[test]]");
    } else if (!list) {
        Mistake(tests->source(),
                std::string("test must be a list of tables ([[test]]), not ") + TypeName(*tests));
    } else if (list->empty()) {
        Mistake(tests->source(), "the list of tests is empty; add one with [[test]]");
    } else {
        std::map<std::string, int> lines;  // name -> line of its first test
        for (const toml::node& node : *list) {
            bool good;
            auto test = Test(node, defaults, good);
            if (!test || test->Name.empty()) continue;
            const auto [first, fresh] = lines.emplace(test->Name, test->Line);
            if (!fresh)
                Mistake(node.as_table()->get("name")->source(), "a test named '" + test->Name +
                                                                    "' is already at line " +
                                                                    std::to_string(first->second));
            else if (good)
                file.Tests.push_back(std::move(*test));
        }
    }
    return file;
}

}  // namespace

std::string RegisterName(int number) {
    return 'R' + FormatHex(number & 0xF, 1);
}

std::optional<std::string> ProgramPath(const TTestFile& file) {
    if (!file.Program) return std::nullopt;
    namespace fs = std::filesystem;
    const fs::path program(*file.Program);
    if (program.is_absolute()) return program.string();
    return (fs::path(file.Path).parent_path() / program).lexically_normal().string();
}

std::optional<std::string> KeepOnlyTests(TTestFile& file, const std::vector<std::string>& names) {
    if (names.empty()) return std::nullopt;
    std::set<std::string> unfound(names.begin(), names.end());
    std::vector<TTestCase> kept;
    for (TTestCase& test : file.Tests)
        if (unfound.erase(test.Name)) kept.push_back(test);
    for (const std::string& name : names)
        if (unfound.count(name)) return name;
    file.Tests = std::move(kept);
    return std::nullopt;
}

ETestFileError::ETestFileError(std::string path, std::vector<TTestFileMistake> mistakes,
                               long long omitted)
    : std::runtime_error(path + ":" + std::to_string(mistakes.at(0).Line) + ":" +
                         std::to_string(mistakes.at(0).Column) + ": " + mistakes.at(0).Message),
      path_(std::move(path)),
      mistakes_(std::move(mistakes)),
      omitted_(omitted) {}

std::vector<std::string> ETestFileError::Lines(const std::string& shownPath) const {
    std::vector<std::string> lines;
    for (const TTestFileMistake& m : mistakes_)
        lines.push_back(shownPath + ":" + std::to_string(m.Line) + ":" + std::to_string(m.Column) +
                        ": " + m.Message);
    if (omitted_ > 0)
        lines.push_back("\u2026 and " + std::to_string(omitted_) +
                        (omitted_ == 1 ? " more mistake" : " more mistakes"));
    return lines;
}

TTestFile ParseTestFile(std::string_view text, const std::string& path) {
    toml::table root;
    try {
        root = toml::parse(text, path);
    } catch (const toml::parse_error& e) {
        const auto& at = e.source().begin;
        throw ETestFileError(
            path, {{static_cast<int>(at.line ? at.line : 1),
                    static_cast<int>(at.column ? at.column : 1), std::string(e.description())}});
    }
    std::vector<TTestFileMistake> mistakes;
    long long omitted = 0;
    TTestFile file = TReader(mistakes, omitted).Read(root, path);
    if (mistakes.empty()) return file;
    // Tables are read in key order; the mistakes are told in the order of the text.
    std::stable_sort(mistakes.begin(), mistakes.end(), TextOrder);
    throw ETestFileError(path, std::move(mistakes), omitted);
}

TTestFile ReadTestFile(const std::string& name, const TReadStart& read) {
    const std::string text = read(MaxTestFileBytes + 1);
    if (text.size() > MaxTestFileBytes)
        throw EFileError("The test file " + name + " is larger than 16 MiB; it was not read.", name,
                         "larger than 16 MiB, the most a test file may have");
    return ParseTestFile(text, name);
}

TTestFile ReadTestFile(const std::string& path) {
    return ReadTestFile(path, [&](std::size_t limit) { return ReadFileStart(path, limit); });
}
