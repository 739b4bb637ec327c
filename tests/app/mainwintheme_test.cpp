// The themes as the windows paint them: the grids, the output window and the status text
// in each theme's colours, High Contrast's marks by shape, Light unchanged, the editor's
// highlighting following at once, the View menu's radio entries and the setting kept.

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QtTest>

#include "app/mainwin.h"
#include "app/startup.h"
#include "controls/hexgrid.h"
#include "controls/showtext.h"
#include "editor/asmedit.h"
#include "gui/theme.h"
#include "inisettings.h"
#include "pixels.h"

Q_DECLARE_METATYPE(TTheme)

namespace {

// The pixels only: a style change may hand the picture over in another format.
QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class TMainWinThemeTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { SetTheme(TTheme::System); }

    void EachThemePaintsItsColours_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<QColor>("cell");
        QTest::addColumn<QColor>("changed");
        QTest::addColumn<QColor>("output");
        QTest::addColumn<QColor>("stopped");
        QTest::addColumn<bool>("underlined");
        QTest::newRow("Light") << TTheme::Light << QColor(240, 240, 245) << QColor(255, 96, 96)
                               << QColor(64, 64, 64) << QColor(255, 0, 0) << false;
        QTest::newRow("Dark") << TTheme::Dark << QColor(40, 40, 46) << QColor(255, 120, 120)
                              << QColor(22, 22, 24) << QColor(255, 115, 115) << false;
        QTest::newRow("High Contrast")
            << TTheme::HighContrast << QColor(Qt::black) << QColor(Qt::yellow) << QColor(Qt::black)
            << QColor(Qt::yellow) << true;
    }
    void EachThemePaintsItsColours() {
        QFETCH(TTheme, theme);
        QFETCH(QColor, cell);
        QFETCH(QColor, changed);
        QFETCH(QColor, output);
        QFETCH(QColor, stopped);
        TMainWin w;
        w.MainMemory->SetContents(0x12, 0x88);
        w.SysRegs->SetContents(0, 0x10);
        w.SetStatus("Halted", TThemeColour::StatusStopped);
        SetTheme(theme);  // the open window follows

        const QImage memory = Grab(w.MainMemory);
        const QRect plainCell = w.MainMemory->CellRect(4, 4);
        const QRect changedCell = w.MainMemory->CellRect(2, 1);
        QCOMPARE(memory.pixelColor(plainCell.topLeft() + QPoint(1, 1)), cell);
        QVERIFY(Contains(memory, changedCell, changed));
        // High Contrast underlines the changed cell across its bottom; elsewhere the bottom
        // row is the cell's background.
        const QPoint bottom(changedCell.center().x(), changedCell.bottom());
        QTEST(memory.pixelColor(bottom) == changed, "underlined");
        QVERIFY(memory.pixelColor(plainCell.center().x(), plainCell.bottom()) == cell);
        // PC and IR never show a change.
        const QRect pc = w.SysRegs->CellRect(0, 0);
        QVERIFY(!Contains(Grab(w.SysRegs), pc, changed));

        const QImage terminal = Grab(w.OutputBox);
        QCOMPARE(terminal.pixelColor(terminal.rect().center()), output);
        auto* status = w.findChild<QLabel*>("StatusPanel2");
        QVERIFY(Contains(Grab(status), status->rect(), stopped));
        QCOMPARE(w.StatusColor(), stopped);
        const QColor window = Grab(&w).pixelColor(2, w.height() / 2);
        if (theme == TTheme::Dark) QVERIFY(window.lightness() < 64);
        if (theme == TTheme::HighContrast) QCOMPARE(window, QColor(Qt::black));
    }

    void HighContrastFocusFrameIsThick() {
        TMainWin w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.Registers->SetFocus();
        QTRY_VERIFY(w.Registers->hasFocus());
        const QRect current = w.Registers->CellRect(0, 0);
        const auto frameAt = [&](int inset) {
            return Grab(w.Registers).pixelColor(current.left() + inset, current.center().y());
        };
        SetTheme(TTheme::HighContrast);
        QCOMPARE(frameAt(0), QColor(Qt::yellow));
        QCOMPARE(frameAt(2), QColor(Qt::yellow));  // at least three pixels wide
        QCOMPARE(w.Registers->MarkWidth(), MarkWidth());
        // Light's frame is two solid pixels, still seen on a projector.
        SetTheme(TTheme::Light);
        QCOMPARE(w.Registers->MarkWidth(), 2);
        QCOMPARE(frameAt(1), w.palette().color(QPalette::Highlight));
        QVERIFY(frameAt(2) != w.palette().color(QPalette::Highlight));
    }

    void HighContrastOutlinesTheOutputWindow() {
        TMainWin w;
        const QPoint outside = w.OutputBox->mapTo(&w, QPoint(-1, w.OutputBox->height() / 2));
        for (const TTheme theme : {TTheme::Light, TTheme::HighContrast, TTheme::Dark}) {
            SetTheme(theme);
            QCOMPARE(Grab(&w).pixelColor(outside) == QColor(Qt::white),
                     theme == TTheme::HighContrast);
        }
    }

    // The desktop here is light: System and Light paint what the program always painted,
    // also after a trip through the other themes.
    void LightIsTheProgramsOwnLook() {
        TMainWin w;
        w.MainMemory->SetContents(3, 0x44);
        w.OutputBox->Write("Hi");
        Grab(&w);  // the first picture comes before the scroll bar is polished
        const QImage before = Grab(&w);
        SetTheme(TTheme::Light);
        QCOMPARE(Grab(&w), before);
        SetTheme(TTheme::HighContrast);
        QVERIFY(Grab(&w) != before);
        SetTheme(TTheme::Light);
        QCOMPARE(Grab(&w), before);
    }

    void EditorHighlightingFollowsAtOnce_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<QColor>("comment");
        QTest::addColumn<QColor>("number");
        QTest::newRow("Light") << TTheme::Light << QColor(0, 0, 128) << QColor(0, 0, 255);
        QTest::newRow("Dark") << TTheme::Dark << QColor(150, 165, 230) << QColor(110, 185, 255);
        QTest::newRow("High Contrast")
            << TTheme::HighContrast << QColor(Qt::yellow) << QColor(Qt::yellow);
    }
    void EditorHighlightingFollowsAtOnce() {
        QFETCH(TTheme, theme);
        TAssemblerEditor editor(nullptr);
        editor.TextEditor->setPlainText("db 42 ; note");
        SetTheme(theme);
        const QTextBlock block = editor.TextEditor->document()->firstBlock();
        const auto colourOf = [&block](const QString& word) {
            const int at = block.text().indexOf(word);
            for (const QTextLayout::FormatRange& range : block.layout()->formats())
                if (range.start <= at && at < range.start + range.length)
                    return range.format.foreground().color();
            return QColor();
        };
        QTEST(colourOf("note"), "comment");
        QTEST(colourOf("42"), "number");
    }

    void ViewMenuHasRadioEntries() {
        TMainWin w;
        QStringList entries;
        for (QAction* entry : w.ThemeMenu->actions()) {
            QVERIFY(entry->isCheckable());
            entries << entry->objectName() + " " + entry->text();
        }
        QCOMPARE(entries,
                 (QStringList{"MenuThemeSystem &System", "MenuThemeLight &Light",
                              "MenuThemeDark &Dark", "MenuThemeHighContrast &High Contrast"}));
        QVERIFY(w.MenuThemeSystem->isChecked());
        w.MenuThemeDark->trigger();
        QCOMPARE(CurrentTheme(), TTheme::Dark);
        QVERIFY(w.MenuThemeDark->isChecked());
        QVERIFY(!w.MenuThemeSystem->isChecked());
        // A second window, and a switch made elsewhere, show in every menu.
        TMainWin other;
        QVERIFY(other.MenuThemeDark->isChecked());
        SetTheme(TTheme::HighContrast);
        QVERIFY(w.MenuThemeHighContrast->isChecked() && other.MenuThemeHighContrast->isChecked());
    }

    void ThemeIsKeptInTheSettings_data() {
        QTest::addColumn<QString>("before");  // what the store held at start-up
        QTest::addColumn<TTheme>("theme");    // the theme at shut-down
        QTest::addColumn<QString>("stored");  // empty: no entry
        QTest::newRow("dark") << "" << TTheme::Dark << "Dark";
        QTest::newRow("high contrast") << "" << TTheme::HighContrast << "HighContrast";
        QTest::newRow("system writes nothing") << "Dark" << TTheme::System << "";
        QTest::newRow("an unknown name is ignored") << "Purple" << TTheme::System << "";
    }
    void ThemeIsKeptInTheSettings() {
        QFETCH(QString, before);
        QFETCH(TTheme, theme);
        QFETCH(QString, stored);
        QTemporaryDir folder;
        const QString path = folder.filePath("Vexlorn.ini");
        if (!before.isEmpty()) QSettings(path, QSettings::IniFormat).setValue("Theme", before);
        const TStartupPlatform platform = IniSettingsPlatform(path);
        TProcessValues values;
        StartUp(values, platform);
        QCOMPARE(CurrentTheme(), ThemeFromName(before).value_or(TTheme::System));
        SetTheme(theme);
        QVERIFY(ShutDown(values, platform));
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("Theme").toString(), stored);
        SetTheme(TTheme::Light);
        StartUp(values, platform);
        QCOMPARE(CurrentTheme(), stored.isEmpty() ? TTheme::Light : theme);
    }
};

QTEST_MAIN(TMainWinThemeTest)
#include "mainwintheme_test.moc"
