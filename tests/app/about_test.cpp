// The about box and the help-catching overlay.

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "app/about.h"
#include "app/invis.h"
#include "app/startup.h"
#include "gui/helphook.h"
#include "gui/processvalues.h"
#include "gui/theme.h"
#include "helpviewers.h"
#include "themerows.h"

namespace {

struct TVersionRig {
    TProcessValues saved = ProcessValues();
    TVersionRig(const QString& version, const QString& legal) {
        ProcessValues().VersionText = version;
        ProcessValues().LegalText = legal;
    }
    ~TVersionRig() { ProcessValues() = saved; }
};

}  // namespace

class TAboutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HelpHook().Install(); }
    void cleanup() {
        CloseAllViewers();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TAboutForm*>(window) || qobject_cast<TInvisForm*>(window)) {
                window->close();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void VersionAndLegalTexts_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("legal");
        QTest::addColumn<QString>("versie");
        QTest::newRow("this build") << "2.0b"
                                    << "Copyright (C) 2026 the Quarzel Simulator developers"
                                    << "v2.0b";
        QTest::newRow("no version information") << ""
                                                << ""
                                                << "v";
    }
    void VersionAndLegalTexts() {
        QFETCH(QString, version);
        QFETCH(QString, legal);
        QFETCH(QString, versie);
        TVersionRig rig(version, legal);
        TAboutForm about(nullptr);
        QCOMPARE(about.Versie->text(), versie);
        QCOMPARE(about.CRight->text(), legal);
        QCOMPARE(about.CRight->toolTip(), QString("See information under the Info-button"));
        QCOMPARE(about.AboutL1->text(), QString("Quarzel Simulator for ICT"));
    }

    // The texts this build shows, the licence among them, fit the box.
    void NoTextIsClipped() {
        const TVersionRecord built = BuiltInVersionRecord();
        QVERIFY(built.LegalCopyright.endsWith("the Quarzel Simulator developers, MIT licence"));
        TVersionRig rig(VersionTextOf(built), built.LegalCopyright);
        TAboutForm about(nullptr);
        QCOMPARE(about.size(), QSize(427, 187));
        for (QLabel* label : {about.AboutL1, about.Versie, about.CRight}) {
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY(about.rect().contains(label->geometry()));
        }
    }

    void CentredOverTheMainWindowWhereverItIs_data() {
        QTest::addColumn<QRect>("mainWindow");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("moved") << QRect(300, 200, 632, 426) << QPoint(402, 319);
        QTest::newRow("halves truncated") << QRect(0, 0, 430, 190) << QPoint(1, 1);
        QTest::newRow("smaller than the box") << QRect(100, 100, 200, 100) << QPoint(-13, 57);
    }
    void CentredOverTheMainWindowWhereverItIs() {
        QFETCH(QRect, mainWindow);
        QFETCH(QPoint, expected);
        QWidget owner;
        owner.setGeometry(mainWindow);
        TAboutForm about(&owner);
        QCOMPARE(about.geometry().topLeft(), expected);
    }

    void BackgroundHasItsThreeGlowsOnLightGrey() {
        const QImage picture = TAboutForm::BackgroundPicture().toImage();
        QCOMPARE(picture.size(), QSize(427, 187));
        const auto dominant = [&](QPoint at) {
            const QColor c = picture.pixelColor(at);
            if (c.red() > c.green() + 30 && c.red() > c.blue() + 30) return 'r';
            if (c.green() > c.red() + 30 && c.green() > c.blue() + 30) return 'g';
            if (c.blue() > c.red() + 30 && c.blue() > c.green() + 30) return 'b';
            return c.lightness() > 180 ? 'l' : '?';
        };
        QCOMPARE(dominant({40, 175}), 'r');       // lower left
        QCOMPARE(dominant({213, 5}), 'g');        // upper middle
        QCOMPARE(dominant({420, 95}), 'b');       // right
        QCOMPARE(dominant({213, 187 - 1}), 'l');  // between the glows
    }

    void InfoOpensTheProgramTopicAndF1TheAboutTopic_data() {
        QTest::addColumn<bool>("info");
        QTest::addColumn<QString>("title");
        QTest::newRow("Info button") << true << "Quarzel Simulator voor ICT";
        QTest::newRow("F1") << false << "About Dialog";
    }
    void InfoOpensTheProgramTopicAndF1TheAboutTopic() {
        QFETCH(bool, info);
        QFETCH(QString, title);
        auto* about = new TAboutForm(nullptr);
        about->show();
        QVERIFY(QTest::qWaitForWindowActive(about));
        if (info) {
            QTest::mouseClick(about->InfoAboutButton, Qt::LeftButton);
        } else {
            QTest::keyClick(about->CloseAboutButton, Qt::Key_F1);
        }
        QCOMPARE(OnlyViewerTitle(), title);
        QVERIFY(about->isVisible());
    }

    // Tab moves a frame that can be seen from one button to the other, in every theme.
    void TabMovesAVisibleFocusFrame_data() { AddThemeRows(); }
    void TabMovesAVisibleFocusFrame() {
        QFETCH(TTheme, theme);
        SetTheme(theme);
        auto* about = new TAboutForm(nullptr);
        about->show();
        QVERIFY(QTest::qWaitForWindowActive(about));
        QImage shown = about->grab().toImage();
        const QColor frame = ThemeColour(TThemeColour::FocusFrame);
        for (QPushButton* button : {about->InfoAboutButton, about->CloseAboutButton}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), button);
            const QImage after = about->grab().toImage();
            QVERIFY(after != shown);
            QCOMPARE(after.pixelColor(button->mapTo(about, QPoint(0, button->height() / 2))),
                     frame);
            shown = after;
        }
        about->grab().save("/tmp/shots-focus/about-tab-" + ThemeName(theme) + ".png");
        SetTheme(TTheme::System);
    }

    void CloseDestroysTheBox() {
        QPointer<TAboutForm> about = new TAboutForm(nullptr);
        about->show();
        QTest::mouseClick(about->CloseAboutButton, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!about);
    }

    void OverlayCoversTheWindowAndShowsTheClickedControlsHelp_data() {
        QTest::addColumn<QPoint>("click");
        QTest::addColumn<QString>("title");
        QTest::newRow("disabled control") << QPoint(20, 20) << "Break when running button";
        QTest::newRow("window itself") << QPoint(150, 100) << "No help available";
    }
    void OverlayCoversTheWindowAndShowsTheClickedControlsHelp() {
        QFETCH(QPoint, click);
        QFETCH(QString, title);
        QWidget mainWindow;
        mainWindow.setProperty("helpContext", 9999);
        auto* breakButton = new QPushButton("Break", &mainWindow);
        breakButton->setGeometry(10, 10, 60, 25);
        breakButton->setProperty("helpContext", 9);
        breakButton->setEnabled(false);
        mainWindow.setGeometry(120, 80, 200, 150);
        mainWindow.show();

        QPointer<TInvisForm> overlay = new TInvisForm;
        overlay->ShowOver(&mainWindow);
        QCOMPARE(overlay->geometry(), mainWindow.geometry());
        QTest::mouseClick(overlay, Qt::LeftButton, {}, click);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!overlay);
        QCOMPARE(OnlyViewerTitle(), title);
    }

    void AnyKeyClosesTheOverlayWithoutHelp() {
        QWidget mainWindow;
        mainWindow.show();
        QPointer<TInvisForm> overlay = new TInvisForm;
        overlay->ShowOver(&mainWindow);
        QTest::keyClick(overlay, Qt::Key_A);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!overlay);
        QVERIFY(OpenViewers().isEmpty());
    }
};

QTEST_MAIN(TAboutTest)
#include "about_test.moc"
