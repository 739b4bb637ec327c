#include "controls/cp437.h"

#include "core/cp437.h"

namespace {

// The pictures a text-mode screen draws for the control codes 00..1F.
constexpr char32_t ControlPictures[32] = {
    0x0020, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,  // 00
    0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,  // 08
    0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,  // 10
    0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC,  // 18
};
constexpr char32_t HousePicture = 0x2302;  // 7F

}  // namespace

char32_t Cp437Glyph(std::uint8_t byte) {
    if (byte < 0x20) return ControlPictures[byte];
    if (byte == 0x7F) return HousePicture;
    return Cp437ToUnicode(byte);
}
