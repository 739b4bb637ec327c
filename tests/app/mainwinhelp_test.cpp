// The main window's way into help, options and the about box, and the help contexts of
// every window: each one leads to a topic of its own.

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "app/about.h"
#include "app/assembler.h"
#include "app/cleardialog.h"
#include "app/helptopics.h"
#include "app/mainwin.h"
#include "app/optdia.h"
#include "core/cellstore.h"
#include "gui/helphook.h"
#include "gui/processvalues.h"
#include "helpviewers.h"
#include "testprompt.h"

namespace {

// Every help context a window and its controls and menu entries carry.
QList<QPair<QString, int>> HelpContexts(QObject* window) {
    QList<QPair<QString, int>> contexts;
    QList<QObject*> objects = window->findChildren<QObject*>();
    objects.prepend(window);
    for (QObject* object : objects) {
        if (const int context = object->property("helpContext").toInt()) {
            contexts << qMakePair(object->objectName(), context);
        }
    }
    return contexts;
}

template <typename T>
T* ActiveModal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

}  // namespace

class TMainWinHelpTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { HelpHook().Install(); }
    void init() { w = std::make_unique<TMainWin>(); }
    void cleanup() {
        CloseAllViewers();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<TAboutForm*>(window)) window->close();
        }
        w.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void EveryHelpContextLeadsToATopic() {
        TCellStore memory(256);
        auto* assemble = new TAssembleDialog(memory);
        auto* clear = new TClearDialog(w->Simulation());
        auto* options = new TOptionsDialog;
        auto* about = new TAboutForm(w.get());
        int counted = 0;
        for (QWidget* window : {static_cast<QWidget*>(w.get()), static_cast<QWidget*>(assemble),
                                static_cast<QWidget*>(clear), static_cast<QWidget*>(options),
                                static_cast<QWidget*>(about)}) {
            for (const auto& [name, context] : HelpContexts(window)) {
                QVERIFY2(FindHelpTopic(context),
                         qPrintable(QString("%1 %2").arg(name).arg(context)));
                ++counted;
            }
        }
        QVERIFY(counted >= 40);
        for (QWidget* window : {static_cast<QWidget*>(assemble), static_cast<QWidget*>(clear),
                                static_cast<QWidget*>(options), static_cast<QWidget*>(about)}) {
            window->close();
        }
    }

    void HelpMenuEntriesOpenTheirTopics_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::newRow("instructions") << "MenuHelpInstructions"
                                      << "Quarzel Simulator instructions:";
        QTest::newRow("syntax") << "MenuHelpSyntax"
                                << "Quarzel Assembler syntax";
    }
    void HelpMenuEntriesOpenTheirTopics() {
        QFETCH(QString, entry);
        QFETCH(QString, title);
        auto* action = w->findChild<QAction*>(entry);
        QVERIFY(action && action->isEnabled());
        action->trigger();
        QCOMPARE(OnlyViewerTitle(), title);
    }

    void F1OnAControlOpensItsTopic() {
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->StepButton->setFocus();
        QTest::keyClick(w->StepButton, Qt::Key_F1);
        QCOMPARE(OnlyViewerTitle(), QString("Step program button"));
    }

    // The added entries lead to their topics (F1 on a highlighted entry asks for them).
    void AddedEntriesHaveTheirTopics_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("title");
        QTest::newRow("Step Back") << "MenuStepBack"
                                   << "Step Back";
        QTest::newRow("Run Back") << "MenuRunBack"
                                  << "Run Back";
        QTest::newRow("Trace") << "MenuTrace"
                               << "Trace window";
        QTest::newRow("Toggle Breakpoint") << "MenuToggleBreakpoint"
                                           << "Breakpoints";
        QTest::newRow("Remove All Breakpoints") << "MenuRemoveAllBreakpoints"
                                                << "Breakpoints";
        QTest::newRow("a speed") << "MenuSpeed10"
                                 << "Speed";
        QTest::newRow("zoom") << "MenuZoomIn"
                              << "View menu";
        QTest::newRow("a theme") << "MenuThemeDark"
                                 << "View menu";
    }
    void AddedEntriesHaveTheirTopics() {
        QFETCH(QString, entry);
        QFETCH(QString, title);
        auto* action = w->findChild<QAction*>(entry);
        QVERIFY(action);
        const THelpTopic* topic = FindHelpTopic(action->property("helpContext").toInt());
        QVERIFY(topic);
        QCOMPARE(topic->Title, title);
        QVERIFY(HelpManual().contains(title));
    }

    void F1InTheTraceWindowOpensItsTopic() {
        w->show();
        w->MenuTrace->trigger();
        auto* trace = w->findChild<QWidget*>("TraceWin");
        QVERIFY(trace && QTest::qWaitForWindowActive(trace));
        QWidget* table = trace->findChild<QWidget*>("TraceTable");
        table->setFocus();
        QTest::keyClick(table, Qt::Key_F1);
        QCOMPARE(OnlyViewerTitle(), QString("Trace window"));
    }

    void OptionsOpensAModalDialogOnTheSettings() {
        TProcessValues saved = ProcessValues();
        ProcessValues().TempLstFile = "before.lst";
        QString shown;
        QTimer::singleShot(0, [&] {
            TOptionsDialog* dialog = ActiveModal<TOptionsDialog>();
            if (!dialog) return;
            shown = dialog->TempLstFileInput->text();
            dialog->TempLstFileInput->setText("after.lst");
            dialog->OkButton->click();
        });
        QVERIFY(w->MenuOptions->isEnabled());
        w->MenuOptions->trigger();
        QCOMPARE(shown, QString("before.lst"));
        QCOMPARE(ProcessValues().TempLstFile, QString("after.lst"));
        ProcessValues() = saved;
    }

    void AboutOpensModelessBoxesCentredOverTheWindow() {
        w->move(250, 150);
        QVERIFY(w->MenuAbout->isEnabled());
        w->MenuAbout->trigger();
        w->MenuAbout->trigger();
        QList<TAboutForm*> boxes;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<TAboutForm*>(window); box && box->isVisible())
                boxes << box;
        }
        QCOMPARE(boxes.size(), 2);
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(boxes[0]->size(), QSize(427, 187));
        const QRect owner = w->geometry();  // client areas, which the frames follow
        QCOMPARE(boxes[0]->geometry().topLeft(), QPoint(owner.x() + (owner.width() - 427) / 2,
                                                        owner.y() + (owner.height() - 187) / 2));
    }

private:
    std::unique_ptr<TMainWin> w;
};

QTEST_MAIN(TMainWinHelpTest)
#include "mainwinhelp_test.moc"
