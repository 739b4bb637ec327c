#include "grading/reporttext.h"

#include <gtest/gtest.h>

namespace {

TEST(ReportText, NamesStandForThemselvesAlone) {
    const struct {
        std::string bytes, name, text, utf8, xml;
    } cases[] = {
        {"a.asm", "a.asm", "a.asm", "a.asm", "a.asm"},
        {"é\U0001F600", "é\U0001F600", "é\U0001F600", "é\U0001F600", "é\U0001F600"},
        // Two names that differ only in a byte that is not UTF-8 stay apart.
        {"x\xFF.asm", "x\\xFF.asm", "x\\xFF.asm", "x\\xFF.asm", "x\xEF\xBF\xBD.asm"},
        {"x\xFE.asm", "x\\xFE.asm", "x\\xFE.asm", "x\\xFE.asm", "x\xEF\xBF\xBD.asm"},
        // A backslash is doubled in a name, so "\xFF" typed out is not the byte.
        {"x\\xFF", "x\\\\xFF", "x\\xFF", "x\\xFF", "x\\xFF"},
        // No line can be forged, no terminal steered.
        {"a\nb\r\tc", "a\\nb\\r\\tc", "a\\nb\\r\\tc", "a\nb\r\tc", "a&#10;b\xEF\xBF\xBD&#9;c"},
        {"\x1B[31m\x7F", "\\x1B[31m\\x7F", "\\x1B[31m\\x7F", "\x1B[31m\x7F",
         "\xEF\xBF\xBD[31m\xEF\xBF\xBD"},
        {"\xC2\x9B"
         "1m",
         "\\u009B1m", "\\u009B1m",
         "\xC2\x9B"
         "1m",
         "\xC2\x9B"
         "1m"},
        // Overlong, surrogate, cut short: each byte on its own.
        {"\xC0\xAF\xED\xA0\x80\xE2\x82", "\\xC0\\xAF\\xED\\xA0\\x80\\xE2\\x82",
         "\\xC0\\xAF\\xED\\xA0\\x80\\xE2\\x82", "\\xC0\\xAF\\xED\\xA0\\x80\\xE2\\x82",
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"<&\"\xEF\xBF\xBE>", "<&\"\xEF\xBF\xBE>", "<&\"\xEF\xBF\xBE>", "<&\"\xEF\xBF\xBE>",
         "&lt;&amp;&quot;\xEF\xBF\xBD&gt;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeName(c.bytes), c.name) << c.bytes;
        EXPECT_EQ(EscapeText(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(Utf8Text(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(XmlText(c.bytes), c.xml) << c.bytes;
    }
}

}  // namespace
