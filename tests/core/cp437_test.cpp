#include <gtest/gtest.h>

#include "core/cp437.h"

namespace {

TEST(Cp437, MapsBytesToCharactersAndBack) {
    const struct {
        unsigned char byte;
        char32_t character;
    } cases[] = {
        {0x00, 0x0000}, {0x09, 0x0009}, {0x41, U'A'}, {0x7F, 0x007F}, {0x80, U'Ç'}, {0x81, U'ü'},
        {0x9E, U'₧'},   {0xA9, U'⌐'},   {0xB0, U'░'}, {0xC5, U'┼'},   {0xDB, U'█'}, {0xE1, U'ß'},
        {0xE6, U'µ'},   {0xEA, U'Ω'},   {0xF8, U'°'}, {0xFB, U'√'},   {0xFE, U'■'}, {0xFF, 0x00A0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cp437ToUnicode(c.byte), c.character) << int(c.byte);
        EXPECT_EQ(UnicodeToCp437(c.character), c.byte) << int(c.byte);
    }
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(UnicodeToCp437(Cp437ToUnicode(static_cast<unsigned char>(b))), b);
    for (char32_t missing : {U'€', U'Ā', U'\U0010FFFF', U'\uFFFD'})
        EXPECT_EQ(UnicodeToCp437(missing), std::nullopt);
}

TEST(Cp437, ConvertsUtf8Texts) {
    const struct {
        std::string utf8;
        std::optional<std::string> bytes;
    } cases[] = {
        {"", ""},
        {"db \"Grüße\" ; 100 °C",
         "db \"Gr\x81\xE1"
         "e\" ; 100 \xF8"
         "C"},
        {"\r\n\t", "\r\n\t"},
        {"price: 5 €", "price: 5 ?"},
        {"\xF0\x9F\x98\x80", "?"},           // four-byte character without a code
        {"\xC3", std::nullopt},              // cut short
        {"\x81", std::nullopt},              // stray continuation byte
        {"\xC0\xAF", std::nullopt},          // overlong "/"
        {"\xED\xA0\x80", std::nullopt},      // surrogate
        {"\xF4\x90\x80\x80", std::nullopt},  // beyond U+10FFFF
        {"\xFF", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToCp437(c.utf8), c.bytes) << c.utf8;

    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp437(Cp437ToUtf8(all)), all);
    EXPECT_EQ(Cp437ToUtf8("\x80 \xFE"), "Ç ■");
}

// One byte per UTF-16 code unit, so that the editor's columns are the assembler's.
TEST(Cp437, EditorTextKeepsItsColumns) {
    const struct {
        std::string utf8;
        std::string bytes;
    } cases[] = {
        {"db 'ü' ; €", "db '\x81' ; ?"},
        {"\xF0\x9F\x98\x80;", "??;"},  // outside the BMP: two code units, two columns
        {"a\xC3", "a?"},               // cut short: one unknown character
        {"\x81\x81x", "??x"},          // stray bytes, one each
    };
    for (const auto& c : cases) EXPECT_EQ(EditorTextToCp437(c.utf8), c.bytes) << c.utf8;
}

TEST(Cp437, DecodesSourceFilesAsUtf8OrAsTheyAre) {
    const struct {
        std::string file;
        std::string text;
    } cases[] = {
        {"db 'ü'", "db '\x81'"},
        {"\xEF\xBB\xBFhalt", "halt"},
        {"db '\x81'", "db '\x81'"},                // not UTF-8: bytes kept
        {"\xEF\xBB\xBF\xFF", "\xEF\xBB\xBF\xFF"},  // not UTF-8 after the mark: all kept
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeSourceFile(c.file), c.text) << c.file;
}

}  // namespace
