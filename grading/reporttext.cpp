#include "grading/reporttext.h"

#include "core/hex.h"

namespace {

// The UTF-8 character at the start of text: its code and length (0 when the bytes are
// not one: stray, overlong, a surrogate).
struct TUtf8Character {
    std::size_t Length = 0;
    char32_t Code = 0;
};

TUtf8Character Utf8Character(std::string_view text) {
    const auto b = static_cast<unsigned char>(text[0]);
    if (b < 0x80) return {1, b};
    const std::size_t length = b < 0xC2 ? 0 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : b < 0xF5 ? 4 : 0;
    if (length == 0 || text.size() < length) return {};
    char32_t c = b & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return {};
        c = c << 6 | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {length, c};
}

// Calls write(character) for each UTF-8 character of text and stray(byte) for each byte
// that is not part of one.
template <typename TWrite, typename TStray>
void ForEachCharacter(std::string_view text, TWrite write, TStray stray) {
    for (std::size_t i = 0; i < text.size();) {
        const TUtf8Character u = Utf8Character(text.substr(i));
        if (u.Length == 0) {
            stray(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            write(text.substr(i, u.Length), u.Code);
            i += u.Length;
        }
    }
}

std::string Escaped(std::string_view bytes, bool backslash) {
    std::string name;
    ForEachCharacter(
        bytes,
        [&](std::string_view character, char32_t c) {
            if (c == '\\' && backslash)
                name += "\\\\";
            else if (c == '\n')
                name += "\\n";
            else if (c == '\r')
                name += "\\r";
            else if (c == '\t')
                name += "\\t";
            else if (c < 0x20 || c == 0x7F)
                name += "\\x" + HexByte(static_cast<int>(c));
            else if (c >= 0x80 && c < 0xA0)
                name += "\\u00" + HexByte(static_cast<int>(c));
            else
                name += character;
        },
        [&](unsigned char b) { name += "\\x" + HexByte(b); });
    return name;
}

}  // namespace

std::string EscapeName(std::string_view bytes) {
    return Escaped(bytes, true);
}

std::string EscapeText(std::string_view bytes) {
    return Escaped(bytes, false);
}

std::string Utf8Text(std::string_view bytes) {
    std::string text;
    ForEachCharacter(
        bytes, [&](std::string_view character, char32_t) { text += character; },
        [&](unsigned char b) { text += "\\x" + HexByte(b); });
    return text;
}

std::string XmlText(std::string_view text) {
    std::string xml;
    ForEachCharacter(
        text,
        [&](std::string_view character, char32_t c) {
            if (c == '&')
                xml += "&amp;";
            else if (c == '<')
                xml += "&lt;";
            else if (c == '>')
                xml += "&gt;";
            else if (c == '"')
                xml += "&quot;";
            else if (c == '\n')
                xml += "&#10;";
            else if (c == '\t')
                xml += "&#9;";
            else if (c < 0x20 || c == 0x7F || c == 0xFFFE || c == 0xFFFF)
                xml += "\xEF\xBF\xBD";
            else
                xml += character;
        },
        [&](unsigned char) { xml += "\xEF\xBF\xBD"; });
    return xml;
}
