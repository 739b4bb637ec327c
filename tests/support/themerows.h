#pragma once
// Data rows for the three looks a user picks: Light, Dark and High Contrast.

#include <QtTest>

#include "gui/theme.h"

Q_DECLARE_METATYPE(TTheme)

inline constexpr TTheme PickedThemes[] = {TTheme::Light, TTheme::Dark, TTheme::HighContrast};

// A column "theme" and a row named after each picked theme.
inline void AddThemeRows() {
    QTest::addColumn<TTheme>("theme");
    for (const TTheme theme : PickedThemes) QTest::newRow(qPrintable(ThemeName(theme))) << theme;
}
