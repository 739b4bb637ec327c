#include "core/cp437.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace {

constexpr char16_t UpperHalf[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

// The upper half sorted by character, for the way back.
const std::array<std::pair<char16_t, unsigned char>, 128>& ByCharacter() {
    static const auto table = [] {
        std::array<std::pair<char16_t, unsigned char>, 128> t{};
        for (int i = 0; i < 128; ++i) t[i] = {UpperHalf[i], static_cast<unsigned char>(0x80 + i)};
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

// The pictures a text-mode screen draws for the control codes 00..1F.
constexpr char32_t ControlPictures[32] = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,  // 00
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,  // 08
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,  // 10
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,  // 18
};
constexpr char32_t HousePicture = 0x2302;  // 7F

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes the character at text[i], moving i past it; nothing when the bytes there are not
// UTF-8 (stray continuation bytes, overlong forms, surrogates, beyond U+10FFFF, cut short).
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra;
    char32_t c, least;
    if (lead < 0x80)
        extra = 0, c = lead, least = 0;
    else if ((lead & 0xE0) == 0xC0)
        extra = 1, c = lead & 0x1F, least = 0x80;
    else if ((lead & 0xF0) == 0xE0)
        extra = 2, c = lead & 0x0F, least = 0x800;
    else if ((lead & 0xF8) == 0xF0)
        extra = 3, c = lead & 0x07, least = 0x10000;
    else
        return std::nullopt;
    if (text.size() - i <= static_cast<std::size_t>(extra)) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += extra + 1;
    return c;
}

}  // namespace

char32_t Cp437ToUnicode(unsigned char byte) {
    return byte < 0x80 ? byte : UpperHalf[byte - 0x80];
}

char32_t Cp437Glyph(unsigned char byte) {
    if (byte < 0x20) return ControlPictures[byte];
    if (byte == 0x7F) return HousePicture;
    return Cp437ToUnicode(byte);
}

std::string Cp437GlyphsToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) AppendUtf8(out, Cp437Glyph(static_cast<unsigned char>(b)));
    return out;
}

std::optional<unsigned char> UnicodeToCp437(char32_t c) {
    if (c < 0x80) return static_cast<unsigned char>(c);
    const auto& table = ByCharacter();
    const auto it = std::lower_bound(table.begin(), table.end(), c,
                                     [](const auto& entry, char32_t v) { return entry.first < v; });
    if (it == table.end() || it->first != c) return std::nullopt;
    return it->second;
}

std::string Cp437ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char b : bytes) AppendUtf8(out, Cp437ToUnicode(static_cast<unsigned char>(b)));
    return out;
}

std::optional<std::string> Utf8ToCp437(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = NextUtf8(utf8, i);
        if (!c) return std::nullopt;
        out += static_cast<char>(UnicodeToCp437(*c).value_or('?'));
    }
    return out;
}

std::string EditorTextToCp437(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = NextUtf8(utf8, i);
        if (!c) {
            out += '?';
            ++i;
            continue;
        }
        if (*c > 0xFFFF) out += '?';
        out += static_cast<char>(UnicodeToCp437(*c).value_or('?'));
    }
    return out;
}

std::string DecodeSourceFile(std::string_view fileBytes) {
    std::string_view text = fileBytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (auto converted = Utf8ToCp437(text)) return std::move(*converted);
    return std::string(fileBytes);
}

std::string SourceFileToUtf8(std::string_view fileBytes) {
    std::string_view text = fileBytes;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (Utf8ToCp437(text)) return std::string(text);
    return Cp437ToUtf8(fileBytes);  // not UTF-8: every byte counts, a leading EF BB BF too
}
