#pragma once
// The seven highlight styles, one per token class. They live for the whole run and are
// shared by every assembler editor (which styles its text with them) and the options
// dialog (which shows a sample of each).

#include <QColor>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

#include "asm/asmtokens.h"  // THighlightClass, the token classes the scanner assigns

inline constexpr int HighlightClassCount = 7;

// The attributes that setting a style on text applies. The character set is kept in the
// record for the samples only and is never applied.
enum TStyleAttribute : unsigned {
    saBold = 1u << 0,
    saItalic = 1u << 1,
    saUnderline = 1u << 2,
    saStrikeOut = 1u << 3,
    saFace = 1u << 4,
    saColor = 1u << 5,
    saSize = 1u << 6,
    saAll = saBold | saItalic | saUnderline | saStrikeOut | saFace | saColor | saSize,
};

struct THighlightStyle {
    unsigned Applied = saAll;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Height = 200;                // twips, 1/20 point
    QColor Color = QColor(0, 0, 0);  // as chosen, for the Light theme
    bool OemCharSet = true;          // bytes 128..255 shown as their code page 437 glyphs
    QString FaceName = QStringLiteral("Courier New");  // at most 31 characters

    // The face maps to an installed font of that name, else to the system fixed-pitch
    // font; the size is Height / 20 points.
    QFont Font() const;
    // The character format that setting this style applies (only the Applied attributes),
    // its colour as it reads in the current theme.
    QTextCharFormat Format() const;
};

inline constexpr int MaxFaceNameLength = 31;

// The record of one class. The first six are set up on first use, before any window
// shows text; the hidden-keyword record is set up again by SetUpHiddenKeywordStyle.
THighlightStyle& HighlightStyle(THighlightClass cls);

// Re-derives the hidden-keyword record from the current Normal record. Every new
// assembler editor calls it when it creates its parser.
void SetUpHiddenKeywordStyle();
