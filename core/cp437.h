#pragma once
// Code page 437, the character set of the machine's output window, and UTF-8. The
// assembler works on 8-bit text; source files are UTF-8 and are converted on the way in
// and out. Bytes 00..7F are ASCII both ways; 80..FF are the code page's accented letters,
// box drawing, Greek and mathematical signs.

#include <optional>
#include <string>
#include <string_view>

// The character of a byte.
char32_t Cp437ToUnicode(unsigned char byte);
// The byte of a character, or nothing when the code page lacks it.
std::optional<unsigned char> UnicodeToCp437(char32_t c);

// Each byte as its UTF-8 encoded character.
std::string Cp437ToUtf8(std::string_view bytes);

// The glyph the output window draws for a byte: the control codes and 7F as the
// pictures a text-mode screen draws for them, 0 as a space.
char32_t Cp437Glyph(unsigned char byte);
// Each byte as its glyph, UTF-8 encoded.
std::string Cp437GlyphsToUtf8(std::string_view bytes);
// Nothing when utf8 is not valid UTF-8; characters the code page lacks become "?".
std::optional<std::string> Utf8ToCp437(std::string_view utf8);

// Editor text (UTF-8) as 8-bit text of one byte per UTF-16 code unit, so that columns
// count as the editor's text control counts them: a character the code page lacks
// becomes "?", one outside the Basic Multilingual Plane "??", a stray byte "?".
std::string EditorTextToCp437(std::string_view utf8);

// The 8-bit text of a source file: its UTF-8 converted (a leading byte order mark
// dropped), or its bytes as they are when it is not valid UTF-8.
std::string DecodeSourceFile(std::string_view fileBytes);

// The text of a file read as a source file is, in UTF-8: its own UTF-8 (a leading byte
// order mark dropped), or each byte as its code page 437 character when it is not UTF-8.
std::string SourceFileToUtf8(std::string_view fileBytes);
