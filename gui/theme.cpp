#include "gui/theme.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>

#include "gui/programstyle.h"
#include "gui/textfragments.h"
#include "gui/zoom.h"

namespace {

TTheme theme_ = TTheme::System;

constexpr const char* ThemeNames[] = {"System", "Light", "Dark", "HighContrast"};

struct TDesktop {
    QPalette Palette;
    QString StyleName;
};

// What the desktop gave the program before any theme was set.
const TDesktop& Desktop() {
    static const TDesktop desktop{QApplication::palette(), QApplication::style()->name()};
    return desktop;
}

bool IsDark(const QPalette& palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

// One row per role: Light (today's colours), Dark, High Contrast.
struct TColourRow {
    TThemeColour Role;
    QColor Light, Dark, HighContrast;
};

const QColor White(255, 255, 255), Black(0, 0, 0), Yellow(255, 255, 0);
const QColor DarkText(230, 230, 230), DarkGreen(120, 220, 120), DarkRed(255, 115, 115);

const std::array<TColourRow, 22>& ColourTable() {
    using R = TThemeColour;
    static const std::array<TColourRow, 22> table{{
        {R::CellBackground, QColor(240, 240, 245), QColor(40, 40, 46), Black},
        {R::CellText, Black, DarkText, White},
        {R::ChangedCell, QColor(255, 96, 96), QColor(255, 120, 120), Yellow},
        {R::StatusReady, Black, DarkText, White},
        {R::StatusRunning, QColor(0, 0x80, 0), DarkGreen, Yellow},
        {R::StatusStopped, QColor(0xFF, 0, 0), DarkRed, Yellow},
        {R::StatusSelection, QColor(0, 0, 192), QColor(140, 175, 255), White},
        {R::OutputBackground, QColor(64, 64, 64), QColor(22, 22, 24), Black},
        {R::OutputText, White, DarkText, White},
        {R::DisasmText, Black, DarkText, White},
        {R::BreakpointDot, QColor(0xFF, 0, 0), QColor(240, 80, 80), Yellow},
        {R::SourceMark, QColor(0xFF, 0xFF, 0x80), QColor(85, 85, 35), Yellow},
        {R::SourceMarkText, QColor(), QColor(), Black},
        {R::SourceLastMark, QColor(200, 225, 255), QColor(40, 70, 110), White},
        {R::Gutter, QColor(228, 228, 232), QColor(55, 55, 60), QColor(48, 48, 48)},
        {R::TestPassed, QColor(0, 0x80, 0), DarkGreen, White},
        {R::TestFailed, QColor(200, 0, 0), DarkRed, Yellow},
        {R::SourceText, Black, DarkText, White},
        {R::CommentText, QColor(0, 0, 128), QColor(150, 165, 230), Yellow},
        {R::NumberText, QColor(0, 0, 255), QColor(110, 185, 255), Yellow},
        {R::HiddenKeywordText, QColor(255, 0, 0), DarkRed, Yellow},
        {R::FocusFrame, QColor(0, 95, 184), QColor(110, 170, 255), Yellow},
    }};
    return table;
}

const TColourRow& RowOf(TThemeColour role) {
    const auto& table = ColourTable();
    return *std::find_if(table.begin(), table.end(),
                         [role](const TColourRow& row) { return row.Role == role; });
}

QPalette DarkPalette() {
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), disabled(125, 125, 125);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, DarkText);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, QColor(55, 55, 60));
    p.setColor(QPalette::ToolTipText, DarkText);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::Text, DarkText);
    p.setColor(QPalette::Button, QColor(58, 58, 62));
    p.setColor(QPalette::ButtonText, DarkText);
    p.setColor(QPalette::BrightText, DarkRed);
    p.setColor(QPalette::Light, QColor(85, 85, 90));
    p.setColor(QPalette::Midlight, QColor(70, 70, 75));
    p.setColor(QPalette::Mid, QColor(100, 100, 106));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(10, 10, 10));
    p.setColor(QPalette::Highlight, QColor(42, 120, 200));
    p.setColor(QPalette::HighlightedText, White);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 145, 255));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(70, 70, 75));
    return p;
}

// Black, white and yellow. Disabled text is the one grey: a disabled control must still
// be told from an enabled one.
QPalette HighContrastPalette() {
    QPalette p(White, Black);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::AlternateBase,
                      QPalette::ToolTipBase, QPalette::Button})
        p.setColor(role, Black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ToolTipText,
                      QPalette::ButtonText, QPalette::PlaceholderText, QPalette::Light,
                      QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow})
        p.setColor(role, White);
    for (auto role :
         {QPalette::BrightText, QPalette::Highlight, QPalette::Link, QPalette::LinkVisited})
        p.setColor(role, Yellow);
    p.setColor(QPalette::HighlightedText, Black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    return p;
}

QPalette PaletteOf(TTheme theme) {
    const TDesktop& desktop = Desktop();
    switch (theme) {
        case TTheme::System:
            return desktop.Palette;
        case TTheme::Light:
            return IsDark(desktop.Palette) ? QApplication::style()->standardPalette()
                                           : desktop.Palette;
        case TTheme::Dark:
            return DarkPalette();
        case TTheme::HighContrast:
            return HighContrastPalette();
    }
    return desktop.Palette;
}

}  // namespace

QString ThemeName(TTheme theme) {
    return QString::fromLatin1(ThemeNames[int(theme)]);
}

std::optional<TTheme> ThemeFromName(const QString& name) {
    for (TTheme theme : Themes)
        if (ThemeName(theme) == name) return theme;
    return std::nullopt;
}

TTheme CurrentTheme() {
    return theme_;
}

void SetTheme(TTheme theme) {
    Desktop();  // remembered before the first change
    if (theme == theme_) return;
    theme_ = theme;
    RestyleApplication();
    emit ThemeNotifier().Changed();
}

void RestyleApplication() {
    // A new style resets the palette, so the style goes first; it is made anew, so that
    // every window measures its metrics again.
    QApplication::setStyle(NewProgramStyle(Desktop().StyleName));
    QApplication::setPalette(PaletteOf(theme_));
    // The windows learn of a new palette through posted events; they take it now, so that
    // what follows the notifier sees it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
}

QIcon ThemedIcon(const QIcon& onLight, const QColor& text) {
    if (CurrentLook() == TLook::Light || onLight.isNull()) return onLight;
    QIcon themed;
    for (const int side : {16, 32, 64}) {
        QPixmap shape = onLight.pixmap(side);
        QPainter painter(&shape);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(shape.rect(), text);
        painter.end();
        themed.addPixmap(shape);
    }
    return themed;
}

TLook CurrentLook() {
    switch (theme_) {
        case TTheme::System:
            return IsDark(Desktop().Palette) ? TLook::Dark : TLook::Light;
        case TTheme::Light:
            return TLook::Light;
        case TTheme::Dark:
            return TLook::Dark;
        case TTheme::HighContrast:
            return TLook::HighContrast;
    }
    return TLook::Light;
}

QColor ThemeColour(TThemeColour role, TLook look) {
    const TColourRow& row = RowOf(role);
    switch (look) {
        case TLook::Light:
            return row.Light;
        case TLook::Dark:
            return row.Dark;
        case TLook::HighContrast:
            return row.HighContrast;
    }
    return row.Light;
}

QColor ThemeColour(TThemeColour role) {
    return ThemeColour(role, CurrentLook());
}

QColor ThemedText(const QColor& onLight) {
    const TLook look = CurrentLook();
    if (look == TLook::Light) return onLight;
    for (TThemeColour role : {TThemeColour::SourceText, TThemeColour::CommentText,
                              TThemeColour::NumberText, TThemeColour::HiddenKeywordText})
        if (LightColour(role) == onLight) return ThemeColour(role, look);
    if (look == TLook::HighContrast) return onLight.hslSaturation() == 0 ? White : Yellow;
    // Dark: lighten what would sink into the background, as much as it was dark.
    const float lightness = onLight.lightnessF();
    if (lightness >= 0.6f) return onLight;
    return QColor::fromHslF(onLight.hslHueF(), onLight.hslSaturationF(), 0.9f - 0.4f * lightness);
}

void ThemeDocument(QTextDocument& document) {
    constexpr int LightForeground = QTextFormat::UserProperty + 1;
    const bool light = CurrentLook() == TLook::Light;
    RestyleFragments(document, [light](QTextCharFormat& format) {
        if (!format.hasProperty(LightForeground)) {
            // Never themed, and as made: nothing to change.
            if (light || !format.hasProperty(QTextFormat::ForegroundBrush)) return false;
            format.setProperty(LightForeground, format.foreground().color());
        }
        format.setForeground(ThemedText(format.property(LightForeground).value<QColor>()));
        return true;
    });
}

bool StrongMarks() {
    return theme_ == TTheme::HighContrast;
}

int MarkWidth() {
    return StrongMarks() ? std::max(3, Zoomed(3)) : std::max(2, Zoomed(2));
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double channel) {
            return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TThemeNotifier& ThemeNotifier() {
    static TThemeNotifier notifier;
    return notifier;
}

void FollowTheme(QObject* context, std::function<void()> apply) {
    apply();
    QObject::connect(&ThemeNotifier(), &TThemeNotifier::Changed, context, apply);
}
