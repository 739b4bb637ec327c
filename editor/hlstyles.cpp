#include "editor/hlstyles.h"

#include <QFontDatabase>
#include <array>

#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

THighlightStyle HiddenKeywordStyle(const THighlightStyle& normal) {
    THighlightStyle style = normal;
    style.Height = 600;
    style.Color = LightColour(TThemeColour::HiddenKeywordText);
    style.Bold = true;
    return style;
}

// Normal first, then each other class as a copy of Normal with its changes.
std::array<THighlightStyle, HighlightClassCount> InitialStyles() {
    std::array<THighlightStyle, HighlightClassCount> styles;
    THighlightStyle normal{};
    normal.Color = LightColour(TThemeColour::SourceText);
    styles.fill(normal);
    styles[size_t(THighlightClass::Keyword)].Bold = true;
    styles[size_t(THighlightClass::Comment)].Height = 180;
    styles[size_t(THighlightClass::Comment)].Color = LightColour(TThemeColour::CommentText);
    styles[size_t(THighlightClass::Comment)].Italic = true;
    styles[size_t(THighlightClass::Numeric)].Color = LightColour(TThemeColour::NumberText);
    styles[size_t(THighlightClass::String)].Color = LightColour(TThemeColour::NumberText);
    styles[size_t(THighlightClass::Error)].Underline = true;
    styles[size_t(THighlightClass::HiddenKeyword)] = HiddenKeywordStyle(normal);
    return styles;
}

std::array<THighlightStyle, HighlightClassCount>& Styles() {
    static std::array<THighlightStyle, HighlightClassCount> styles = InitialStyles();
    return styles;
}

QString FamilyFor(const QString& face) {
    if (QFontDatabase::hasFamily(face)) return face;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace

QFont THighlightStyle::Font() const {
    QFont font(FamilyFor(FaceName.left(MaxFaceNameLength)));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(Height / 20.0);
    font.setBold(Bold);
    font.setItalic(Italic);
    font.setUnderline(Underline);
    font.setStrikeOut(StrikeOut);
    return font;
}

QTextCharFormat THighlightStyle::Format() const {
    QTextCharFormat format;
    if (Applied & saBold) format.setFontWeight(Bold ? QFont::Bold : QFont::Normal);
    if (Applied & saItalic) format.setFontItalic(Italic);
    if (Applied & saUnderline) format.setFontUnderline(Underline);
    if (Applied & saStrikeOut) format.setFontStrikeOut(StrikeOut);
    if (Applied & saFace) {
        format.setFontFamilies({FamilyFor(FaceName.left(MaxFaceNameLength))});
        format.setFontFixedPitch(true);
        format.setFontStyleHint(QFont::Monospace);
    }
    if (Applied & saColor) format.setForeground(ThemedText(Color));
    if (Applied & saSize) format.setFontPointSize(Height / 20.0 * ZoomPercent() / 100);
    return format;
}

THighlightStyle& HighlightStyle(THighlightClass cls) {
    return Styles()[size_t(cls)];
}

void SetUpHiddenKeywordStyle() {
    HighlightStyle(THighlightClass::HiddenKeyword) =
        HiddenKeywordStyle(HighlightStyle(THighlightClass::Normal));
}
