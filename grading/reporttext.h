#pragma once
// How the reports write the texts they hold: names so that no two of them read alike and
// none can forge a line or steer a terminal, and text for XML 1.0.

#include <string>
#include <string_view>

// A name (of a program, a test file, a test) as UTF-8 that stands for it alone: a
// backslash as \\, a control character as \n, \r, \t or \xHH (U+0080..U+009F as \u0080..
// \u009F), and each byte that is not part of a UTF-8 character as \xHH, so that
// "x\xFF.asm" and "x\xFE.asm" stay apart; everything else as it is.
std::string EscapeName(std::string_view bytes);

// Text as UTF-8 on one line for a terminal: as EscapeName, but a backslash as it is (the
// failure texts quote output with backslash escapes of their own).
std::string EscapeText(std::string_view bytes);

// Text as UTF-8: each byte that is not part of a UTF-8 character as \xHH, the rest as it is.
std::string Utf8Text(std::string_view bytes);

// Text for XML 1.0: markup characters escaped, and what XML cannot hold at all (control
// characters, bytes that are not UTF-8, U+FFFE and U+FFFF) replaced by U+FFFD.
std::string XmlText(std::string_view text);
