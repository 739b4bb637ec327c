// The zoom on a projector (a 1920 x 1200 screen, as the test's platform is set up): no
// window outgrows its screen, the View menu names the cap, and Actual Size gives back the
// window of 100 % to the pixel; in every theme.

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include "app/mainwin.h"
#include "gui/theme.h"
#include "gui/zoom.h"
#include "mainwinfixture.h"
#include "themerows.h"

class TProjectorTest : public QObject, TMainWinFixture {
    Q_OBJECT
private slots:
    void cleanup() {
        CloseWindow();
        SetZoomCap(300);
        SetZoomPercent(100);
    }

    void CapIsTheHighestStepThatFits_data() {
        QTest::addColumn<QSize>("available");
        QTest::addColumn<int>("cap");
        QTest::newRow("projector") << QSize(1920, 1170) << 250;
        QTest::newRow("exactly 200 % with a title bar") << QSize(1264, 920) << 200;
        QTest::newRow("a pixel short of 200 %") << QSize(1264, 919) << 175;
        QTest::newRow("width decides") << QSize(1000, 3000) << 150;
        QTest::newRow("nothing fits: actual size") << QSize(320, 240) << 100;
    }
    void CapIsTheHighestStepThatFits() {
        QFETCH(QSize, available);
        QTEST(ZoomCap(available, QSize(632, 445), QSize(0, 30)), "cap");
    }

    void MainWindowStaysOnTheScreen() {
        StartFresh();
        QVERIFY(ShowWindow());
        const QRect screen = w->screen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(1920, 1200));
        const QSize plain = w->size();
        QAction* in = w->findChild<QAction*>("MenuZoomIn");
        QAction* actual = w->findChild<QAction*>("MenuActualSize");
        for (int i = 0; i < 6; ++i) in->trigger();
        QCOMPARE(ZoomPercent(), 250);
        QCOMPARE(in->text(), QString("Zoom &In (max 250 % on this screen)"));
        QVERIFY2(w->height() + 40 <= screen.height(), qPrintable(QString::number(w->height())));
        QVERIFY(w->width() <= screen.width());
        w->grab().save("/tmp/shots-a11y/main-250-on-1920x1200.png");
        actual->trigger();
        QCOMPARE(w->size(), plain);

        // A setting saved on a larger screen is brought down to the cap.
        SetZoomPercent(300);
        QCOMPARE(ZoomPercent(), 250);
    }

    // In every theme on the projector the media buttons' glyphs stand out from the button
    // (3:1, as a mark must), icons and scroll bars have grown with the zoom.
    void EveryThemeOnTheProjector_data() { AddThemeRows(); }
    void EveryThemeOnTheProjector() {
        QFETCH(TTheme, theme);
        StartFresh();
        QVERIFY(ShowWindow());
        const int plainIcon = w->RunButton->style()->pixelMetric(QStyle::PM_ButtonIconSize);
        const int plainBar = w->DisasmWin->verticalScrollBar()->sizeHint().width();
        SetTheme(theme);
        SetZoomPercent(250);
        QCOMPARE(ZoomPercent(), 250);
        w->grab().save("/tmp/shots-a11y/main-250-" + ThemeName(theme) + ".png");
        QCOMPARE(w->RunButton->style()->pixelMetric(QStyle::PM_ButtonIconSize),
                 plainIcon * 250 / 100);
        QVERIFY(w->DisasmWin->verticalScrollBar()->sizeHint().width() >= plainBar * 2);
        for (QPushButton* button : {w->RunButton, w->StepButton, w->BreakButton}) {
            const QColor face = button->palette().color(QPalette::Button);
            const QImage glyph = button->icon().pixmap(16).toImage();
            double best = 1;
            for (int y = 0; y < glyph.height(); ++y)
                for (int x = 0; x < glyph.width(); ++x)
                    if (qAlpha(glyph.pixel(x, y)) > 200)
                        best = std::max(best, ContrastRatio(glyph.pixelColor(x, y), face));
            QVERIFY2(best >= 3, qPrintable(button->objectName() + QString::number(best)));
        }
        SetTheme(TTheme::System);
    }
};

QTEST_MAIN(TProjectorTest)
#include "projector_test.moc"
