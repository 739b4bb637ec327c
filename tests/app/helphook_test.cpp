// F1, Shift+F1 and the help contexts carried by controls, windows and menu entries.

#include <QMenu>
#include <QPushButton>
#include <QWhatsThis>
#include <QtTest>

#include "gui/helphook.h"
#include "helpviewers.h"

namespace {

// A window with three controls: one with its own context, one without, one disabled.
struct THelpWindow {
    QWidget window;
    QPushButton* run = new QPushButton("Run", &window);
    QPushButton* plain = new QPushButton("Plain", &window);
    QPushButton* open = new QPushButton("Open", &window);
    QMenu* menu = new QMenu(&window);
    QAction* instructions = menu->addAction("Instructions");
    QAction* bare = menu->addAction("Bare");

    explicit THelpWindow(bool offersHelp) {
        window.setWindowFlag(Qt::WindowContextHelpButtonHint, offersHelp);
        window.setProperty("helpContext", 9999);
        run->setProperty("helpContext", 7);
        open->setProperty("helpContext", 5);
        open->setEnabled(false);
        instructions->setProperty("helpContext", 202);
        run->setGeometry(0, 0, 80, 30);
        plain->setGeometry(0, 40, 80, 30);
        open->setGeometry(0, 80, 80, 30);
        window.resize(200, 150);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

}  // namespace

class THelpHookTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HelpHook().Install(); }
    void cleanup() { CloseAllViewers(); }

    void F1ShowsTheFocusedControlsHelp_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("offersHelp");
        QTest::addColumn<QString>("title");  // empty: no viewer opens
        QTest::newRow("own context") << "run" << true << "Run program button";
        QTest::newRow("parent's context") << "plain" << true << "No help available";
        QTest::newRow("window without context help") << "run" << false << "";
    }
    void F1ShowsTheFocusedControlsHelp() {
        QFETCH(QString, control);
        QFETCH(bool, offersHelp);
        QFETCH(QString, title);
        THelpWindow w(offersHelp);
        QWidget* target = control == "run" ? w.run : w.plain;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F1);
        QCOMPARE(OnlyViewerTitle(), title);
        QCOMPARE(OpenViewers().size(), title.isEmpty() ? 0 : 1);
    }

    void F1WithModifiersIsLeftAlone() {
        THelpWindow w(true);
        w.run->setFocus();
        QTest::keyClick(w.run, Qt::Key_F1, Qt::ControlModifier);
        QVERIFY(OpenViewers().isEmpty());
    }

    void F1InAnOpenMenuShowsTheHighlightedEntrysHelp_data() {
        QTest::addColumn<bool>("withContext");
        QTest::addColumn<QString>("title");
        QTest::newRow("entry with context") << true << "Quarzel Simulator instructions:";
        QTest::newRow("entry without: the window's") << false << "No help available";
    }
    void F1InAnOpenMenuShowsTheHighlightedEntrysHelp() {
        QFETCH(bool, withContext);
        QFETCH(QString, title);
        THelpWindow w(true);
        w.menu->popup(w.window.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(w.menu));
        w.menu->setActiveAction(withContext ? w.instructions : w.bare);
        QTest::keyClick(w.menu, Qt::Key_F1);
        QCOMPARE(OnlyViewerTitle(), title);
        w.menu->close();
    }

    void WhatsThisModeShowsTheClickedControlsHelp_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("title");
        QTest::newRow("enabled") << "run"
                                 << "Run program button";
        QTest::newRow("disabled") << "open"
                                  << "Open file button";
        QTest::newRow("without context") << "plain"
                                         << "No help available";
    }
    void WhatsThisModeShowsTheClickedControlsHelp() {
        QFETCH(QString, control);
        QFETCH(QString, title);
        THelpWindow w(true);
        QWidget* target = control == "run" ? w.run : control == "open" ? w.open : w.plain;
        QSignalSpy clicked(w.run, &QPushButton::clicked);
        QTest::keyClick(&w.window, Qt::Key_F1, Qt::ShiftModifier);
        QVERIFY(HelpHook().InWhatsThisMode());
        QVERIFY(OpenViewers().isEmpty());
        QTest::mouseClick(target, Qt::LeftButton);
        QVERIFY(!HelpHook().InWhatsThisMode());
        QCOMPARE(OnlyViewerTitle(), title);
        QCOMPARE(clicked.count(), 0);  // the click asked for help and did nothing else
    }

    // The title bar's "?" button enters the toolkit's mode; the click after it shows the
    // help topic like Shift+F1 does.
    void TitleBarHelpButtonShowsTheClickedControlsHelp() {
        THelpWindow w(true);
        QSignalSpy clicked(w.run, &QPushButton::clicked);
        QWhatsThis::enterWhatsThisMode();
        QVERIFY(!QWhatsThis::inWhatsThisMode());
        QVERIFY(HelpHook().InWhatsThisMode());
        QTest::mouseClick(w.open, Qt::LeftButton);
        QVERIFY(!HelpHook().InWhatsThisMode());
        QCOMPARE(OnlyViewerTitle(), QString("Open file button"));
        QCOMPARE(clicked.count(), 0);
    }

    void EscLeavesWhatsThisModeAndTheNextClickActsNormally() {
        THelpWindow w(true);
        QSignalSpy clicked(w.run, &QPushButton::clicked);
        QTest::keyClick(&w.window, Qt::Key_F1, Qt::ShiftModifier);
        QTest::keyClick(&w.window, Qt::Key_Escape);
        QVERIFY(!HelpHook().InWhatsThisMode());
        QTest::mouseClick(w.run, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(OpenViewers().isEmpty());
    }
};

QTEST_MAIN(THelpHookTest)
#include "helphook_test.moc"
