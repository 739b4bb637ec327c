// Assembles any bytes as a source text and checks what comes out: every report lies on a
// line of the text and within it, reports follow the line order, undefined-label reports
// come last, a stop ends the reports, the image holds bytes, and a second run is identical.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "asm/asmparse.h"
#include "fuzz/fuzz_check.h"

namespace {

struct TReport {
    int Line, Column;
    std::string Message;
    bool operator==(const TReport&) const = default;
};

std::vector<TReport> AssembleOnce(TAsmParser& parser) {
    std::vector<TReport> reports;
    parser.Assemble([&](void*, int line, int column, std::string_view message) {
        reports.push_back({line, column, std::string(message)});
    });
    return reports;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TMemoryTextSource source(std::string(reinterpret_cast<const char*>(data), size));
    TAsmParser parser(source);
    const std::vector<TReport> reports = AssembleOnce(parser);

    int lastLine = 0;
    bool undefinedPart = false;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const TReport& r = reports[i];
        FUZZ_CHECK(r.Line >= 0 && r.Line < source.LineCount());
        FUZZ_CHECK(r.Column >= 0 && r.Column <= static_cast<int>(source.LineText(r.Line).size()));
        FUZZ_CHECK(!r.Message.empty());
        if (StartsWith(r.Message, "Label is not defined: ")) {
            undefinedPart = true;
        } else {
            FUZZ_CHECK(!undefinedPart && r.Line >= lastLine);
            lastLine = r.Line;
        }
        if (StartsWith(r.Message, "Cannot emit code: ")) FUZZ_CHECK(i + 1 == reports.size());
    }
    std::vector<int> image;
    for (int a = 0; a < 256; ++a) {
        image.push_back(parser.MemoryByte(a));
        FUZZ_CHECK(image.back() >= 0 && image.back() <= 255);
    }
    FUZZ_CHECK(AssembleOnce(parser) == reports);
    for (int a = 0; a < 256; ++a) FUZZ_CHECK(parser.MemoryByte(a) == image[a]);
    return 0;
}
