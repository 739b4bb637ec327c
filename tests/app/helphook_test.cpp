// F1, Shift+F1 and the help contexts carried by controls, windows and menu entries.

#include <QMenu>
#include <QPushButton>
#include <QWhatsThis>
#include <QtTest>

#include "gui/helphook.h"
#include "helpviewers.h"

namespace {

// A window with controls: one with its own context, one without, one disabled, and one of an
// added command.
struct THelpWindow {
    QWidget window;
    QPushButton* run = new QPushButton("Run", &window);
    QPushButton* plain = new QPushButton("Plain", &window);
    QPushButton* open = new QPushButton("Open", &window);
    QPushButton* trace = new QPushButton("Trace", &window);  // an added window's
    QMenu* menu = new QMenu(&window);
    QAction* instructions = menu->addAction("Instructions");
    QAction* bare = menu->addAction("Bare");
    QAction* stepBack = menu->addAction("Step Back");  // an added command

    explicit THelpWindow(bool offersHelp) {
        window.setWindowFlag(Qt::WindowContextHelpButtonHint, offersHelp);
        window.setProperty("helpContext", 9999);
        run->setProperty("helpContext", 7);
        open->setProperty("helpContext", 5);
        open->setEnabled(false);
        instructions->setProperty("helpContext", 202);
        stepBack->setProperty("helpContext", StepBackContext);
        trace->setProperty("helpContext", TraceWinContext);
        run->setGeometry(0, 0, 80, 30);
        plain->setGeometry(0, 40, 80, 30);
        open->setGeometry(0, 80, 80, 30);
        trace->setGeometry(0, 120, 80, 30);
        window.resize(200, 160);
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
        QTest::newRow("added, in a window without context help")
            << "trace" << false << "Trace window";
    }
    void F1ShowsTheFocusedControlsHelp() {
        QFETCH(QString, control);
        QFETCH(bool, offersHelp);
        QFETCH(QString, title);
        THelpWindow w(offersHelp);
        QWidget* target = control == "run" ? w.run : control == "trace" ? w.trace : w.plain;
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
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("offersHelp");
        QTest::addColumn<QString>("title");  // empty: no viewer opens
        QTest::newRow("entry with context")
            << "instructions" << true << "Quarzel Simulator instructions:";
        QTest::newRow("entry without: the window's") << "bare" << true << "No help available";
        QTest::newRow("window without context help") << "instructions" << false << "";
        QTest::newRow("added entry, window without context help")
            << "stepBack" << false << "Step Back";
    }
    void F1InAnOpenMenuShowsTheHighlightedEntrysHelp() {
        QFETCH(QString, entry);
        QFETCH(bool, offersHelp);
        QFETCH(QString, title);
        THelpWindow w(offersHelp);
        w.menu->popup(w.window.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(w.menu));
        w.menu->setActiveAction(entry == "instructions" ? w.instructions
                                : entry == "bare"       ? w.bare
                                                        : w.stepBack);
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
