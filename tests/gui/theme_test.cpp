// The themes' palettes and colours: Light is the desktop's look, the fixed colours map by
// role, other colours keep their hue in Dark and become white or yellow in High Contrast,
// and a rich text document is recoloured and back.

#include <QApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "gui/theme.h"
#include "themerows.h"

Q_DECLARE_METATYPE(TThemeColour)

class TThemeTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetTheme(TTheme::System); }

    void NamesGoBothWays() {
        for (TTheme theme : Themes) QCOMPARE(ThemeFromName(ThemeName(theme)), theme);
        QCOMPARE(ThemeName(TTheme::HighContrast), QString("HighContrast"));
        QVERIFY(!ThemeFromName("dark"));  // settings are written by the program, exactly
        QVERIFY(!ThemeFromName(""));
    }

    void PaletteAndLookOfEachTheme_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<QColor>("window");  // invalid: the desktop's
        QTest::addColumn<QColor>("highlight");
        QTest::addColumn<bool>("strong");
        QTest::newRow("System") << TTheme::System << QColor() << QColor() << false;
        QTest::newRow("Light") << TTheme::Light << QColor() << QColor() << false;
        QTest::newRow("Dark") << TTheme::Dark << QColor(45, 45, 48) << QColor(42, 120, 200)
                              << false;
        QTest::newRow("High Contrast")
            << TTheme::HighContrast << QColor(Qt::black) << QColor(Qt::yellow) << true;
    }
    void PaletteAndLookOfEachTheme() {
        QFETCH(TTheme, theme);
        QFETCH(QColor, window);
        QFETCH(QColor, highlight);
        const QPalette desktop = QApplication::palette();  // offscreen: a light one
        SetTheme(theme);
        const QPalette now = QApplication::palette();
        QCOMPARE(now.color(QPalette::Window),
                 window.isValid() ? window : desktop.color(QPalette::Window));
        QCOMPARE(now.color(QPalette::Highlight),
                 highlight.isValid() ? highlight : desktop.color(QPalette::Highlight));
        QTEST(StrongMarks(), "strong");
        QCOMPARE(MarkWidth() > 2, StrongMarks());
        SetTheme(TTheme::System);
        QCOMPARE(QApplication::palette(), desktop);
    }

    // Light is exactly the program's own colours; each role has one colour per look.
    void FixedColoursByRole_data() {
        QTest::addColumn<TThemeColour>("role");
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("highContrast");
        using R = TThemeColour;
        QTest::newRow("cell") << R::CellBackground << QColor(240, 240, 245) << QColor(Qt::black);
        QTest::newRow("changed") << R::ChangedCell << QColor(255, 96, 96) << QColor(Qt::yellow);
        QTest::newRow("ready") << R::StatusReady << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("running") << R::StatusRunning << QColor(0, 128, 0) << QColor(Qt::yellow);
        QTest::newRow("stopped") << R::StatusStopped << QColor(255, 0, 0) << QColor(Qt::yellow);
        QTest::newRow("selection") << R::StatusSelection << QColor(0, 0, 192) << QColor(Qt::white);
        QTest::newRow("output") << R::OutputBackground << QColor(64, 64, 64) << QColor(Qt::black);
        QTest::newRow("comment") << R::CommentText << QColor(0, 0, 128) << QColor(Qt::yellow);
        QTest::newRow("mark text") << R::SourceMarkText << QColor() << QColor(Qt::black);
    }
    void FixedColoursByRole() {
        QFETCH(TThemeColour, role);
        QTEST(ThemeColour(role, TLook::Light), "light");
        QTEST(ThemeColour(role, TLook::HighContrast), "highContrast");
        // Dark text reads on the dark window, dark backgrounds stay dark.
        const QColor dark = ThemeColour(role, TLook::Dark);
        const QColor light = ThemeColour(role, TLook::Light);
        const bool background =
            role == TThemeColour::CellBackground || role == TThemeColour::OutputBackground;
        if (background)
            QVERIFY(dark.lightness() < 64);
        else if (light.isValid() && light.lightness() < 128)
            QVERIFY(dark.lightness() > 128);
        SetTheme(TTheme::Light);
        QCOMPARE(ThemeColour(role), light);
        SetTheme(TTheme::Dark);
        QCOMPARE(ThemeColour(role), dark);
    }

    void OtherTextColours_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<QColor>("chosen");
        QTest::addColumn<QColor>("shown");  // invalid: lighter than 60 %, same hue
        QTest::newRow("light keeps a user's colour")
            << TTheme::Light << QColor(10, 100, 10) << QColor(10, 100, 10);
        QTest::newRow("dark lightens it") << TTheme::Dark << QColor(10, 100, 10) << QColor();
        QTest::newRow("dark keeps a light one")
            << TTheme::Dark << QColor(255, 200, 100) << QColor(255, 200, 100);
        QTest::newRow("dark maps a default by its role")
            << TTheme::Dark << QColor(0, 0, 255) << QColor(110, 185, 255);
        QTest::newRow("contrast: a colour turns yellow")
            << TTheme::HighContrast << QColor(10, 100, 10) << QColor(Qt::yellow);
        QTest::newRow("contrast: a grey turns white")
            << TTheme::HighContrast << QColor(90, 90, 90) << QColor(Qt::white);
    }
    void OtherTextColours() {
        QFETCH(TTheme, theme);
        QFETCH(QColor, chosen);
        QFETCH(QColor, shown);
        SetTheme(theme);
        const QColor themed = ThemedText(chosen);
        if (shown.isValid()) {
            QCOMPARE(themed, shown);
        } else {
            QVERIFY(themed.lightnessF() >= 0.6f);
            QVERIFY(std::abs(themed.hslHue() - chosen.hslHue()) <= 1);
        }
    }

    void DocumentIsRecolouredAndBack() {
        QTextDocument document;
        document.setHtml(
            "<p>plain <span style=\"color:#000080\">navy</span> "
            "<span style=\"color:#00aa00\">green</span></p>");
        const auto colourAt = [&document](int position) {
            QTextCursor cursor(&document);
            cursor.setPosition(position + 1);
            return cursor.charFormat().foreground().color();
        };
        const int navy = document.toPlainText().indexOf("navy");
        const int green = document.toPlainText().indexOf("green");
        const bool plainHasColour =
            QTextCursor(&document).charFormat().hasProperty(QTextFormat::ForegroundBrush);
        SetTheme(TTheme::HighContrast);
        ThemeDocument(document);
        QCOMPARE(colourAt(navy), QColor(Qt::yellow));
        QCOMPARE(colourAt(green), QColor(Qt::yellow));
        SetTheme(TTheme::Dark);
        ThemeDocument(document);
        QCOMPARE(colourAt(navy), ThemeColour(TThemeColour::CommentText, TLook::Dark));
        SetTheme(TTheme::Light);
        ThemeDocument(document);
        QCOMPARE(colourAt(navy), QColor(0, 0, 128));
        QCOMPARE(colourAt(green), QColor(0, 0xaa, 0));
        // Text without a colour of its own keeps following the palette.
        QCOMPARE(QTextCursor(&document).charFormat().hasProperty(QTextFormat::ForegroundBrush),
                 plainHasColour);
    }

    void ContrastRatioOfKnownPairs() {
        QCOMPARE(qRound(ContrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(qRound(ContrastRatio(Qt::white, QColor(0, 128, 0)) * 100), 514);  // either order
    }

    // Every text colour of the table reads at 4.5:1 on what it is drawn on, in each theme.
    // Light's colours that the window's own description fixes (the changed cell, the status
    // texts) are exempt: High Contrast is the answer there.
    void TextColoursReadOnTheirBackground_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<TThemeColour>("text");
        QTest::addColumn<QColor>("background");  // invalid: the palette's Base
        using R = TThemeColour;
        const QColor onBase;
        const struct {
            TTheme Theme;
            TLook Look;
        } themes[] = {{TTheme::Light, TLook::Light},
                      {TTheme::Dark, TLook::Dark},
                      {TTheme::HighContrast, TLook::HighContrast}};
        for (const auto& entry : themes) {
            const TTheme theme = entry.Theme;  // a lambda cannot capture a structured binding
            const TLook look = entry.Look;     // in clang 14
            const QColor cell = ThemeColour(R::CellBackground, look);
            const QColor output = ThemeColour(R::OutputBackground, look);
            const auto row = [&](const char* what, R text, QColor background) {
                QTest::addRow("%s %s", qPrintable(ThemeName(theme)), what)
                    << theme << text << background;
            };
            row("cell", R::CellText, cell);
            row("output", R::OutputText, output);
            row("passed test", R::TestPassed, onBase);
            row("failed test", R::TestFailed, onBase);
            row("source", R::SourceText, onBase);
            row("comment", R::CommentText, onBase);
            row("number", R::NumberText, onBase);
            row("disassembly", R::DisasmText, onBase);
            if (theme == TTheme::Light) continue;
            row("changed cell", R::ChangedCell, cell);
            row("running", R::StatusRunning, onBase);
            row("stopped", R::StatusStopped, onBase);
            row("selection", R::StatusSelection, onBase);
        }
    }
    void TextColoursReadOnTheirBackground() {
        QFETCH(TTheme, theme);
        QFETCH(TThemeColour, text);
        QFETCH(QColor, background);
        SetTheme(theme);
        if (!background.isValid()) background = QApplication::palette().color(QPalette::Base);
        const double ratio = ContrastRatio(ThemeColour(text), background);
        QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio, 'f', 2)));
    }

    // The focus frame stands out from the window and from a button's face (3:1, as a mark
    // must).
    void FocusFrameStandsOut_data() { AddThemeRows(); }
    void FocusFrameStandsOut() {
        QFETCH(TTheme, theme);
        SetTheme(theme);
        const QPalette palette = QApplication::palette();
        for (const auto role : {QPalette::Window, QPalette::Button}) {
            const double ratio =
                ContrastRatio(ThemeColour(TThemeColour::FocusFrame), palette.color(role));
            QVERIFY2(ratio >= 3, qPrintable(QString::number(ratio, 'f', 2)));
        }
    }

    void NotifierTellsFollowers() {
        QObject context;
        int applied = 0;
        FollowTheme(&context, [&applied] { ++applied; });
        QCOMPARE(applied, 1);  // at once
        SetTheme(TTheme::Dark);
        SetTheme(TTheme::Dark);  // no change, no call
        QCOMPARE(applied, 2);
    }
};

QTEST_MAIN(TThemeTest)
#include "theme_test.moc"
