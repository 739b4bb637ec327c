// Scans any bytes line by line as the highlighter does and checks the tokens and runs: they
// are never empty, follow each other without gap or overlap and cover the whole line; a
// number is Valid only when WellFormed; runs of one class never touch. The code page 437
// conversions of the same bytes must round-trip.
#include <cstddef>
#include <cstdint>
#include <string>

#include "asm/asmparse.h"
#include "core/cp437.h"
#include "fuzz/fuzz_check.h"

namespace {

void CheckCover(const std::vector<Token>& tokens, int length) {
    int col = 0;
    for (const Token& t : tokens) {
        FUZZ_CHECK(t.StartCol == col && t.EndCol > t.StartCol);
        col = t.EndCol;
    }
    FUZZ_CHECK(col == length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const TMemoryTextSource source(bytes);
    TAsmParser parser(source);
    for (int i = 0; i < source.LineCount(); ++i) {
        parser.ReadLine(i);
        const int length = static_cast<int>(parser.CurrentLine().size());
        parser.Tokenize();
        CheckCover(parser.Tokens(), length);
        int col = 0;
        for (const Token& t : parser.Tokens()) {
            FUZZ_CHECK(!t.Valid || t.WellFormed);
            FUZZ_CHECK(t.Kind != twRegister || (t.Value >= 0 && t.Value <= 15));
            const auto again = parser.NextToken(col);
            FUZZ_CHECK(again && again->Kind == t.Kind && again->EndCol == t.EndCol);
        }
        parser.AssignStyles();
        CheckCover(parser.Tokens(), length);
        for (std::size_t k = 1; k < parser.Tokens().size(); ++k)
            FUZZ_CHECK(parser.Tokens()[k].Style != parser.Tokens()[k - 1].Style);
    }

    const auto text = Utf8ToCp437(Cp437ToUtf8(bytes));
    FUZZ_CHECK(text && *text == bytes);
    const std::string decoded = DecodeSourceFile(bytes);
    FUZZ_CHECK(decoded.size() <= bytes.size());
    return 0;
}
