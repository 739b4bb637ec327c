#pragma once
// The glyphs of code page 437, so bytes 128..255 and the control codes show as the
// characters a text-mode screen would draw.

#include <cstdint>

// The Unicode code point drawn for a byte; 0 draws as a space.
char32_t Cp437Glyph(std::uint8_t byte);
