// The zoom: its steps and keys, the main window scaled exactly with the same arrangement
// and nothing cut off, other windows following at once, and the zoom kept in the settings.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/about.h"
#include "app/assembler.h"
#include "app/cleardialog.h"
#include "app/mainwin.h"
#include "app/optdia.h"
#include "app/startup.h"
#include "controls/hexgrid.h"
#include "editor/asmedit.h"
#include "gui/zoom.h"
#include "inisettings.h"

namespace {

QRect ClientGeometry(const TMainWin& w, const char* name) {
    return w.centralWidget()->findChild<QWidget*>(name)->geometry();
}

}  // namespace

class TMainWinViewTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { SetZoomPercent(100); }

    void ViewMenuOffersTheZoom() {
        TMainWin w;
        QStringList entries;
        for (const QAction* action : w.ViewMenu->actions())
            entries << action->text() + " " + action->shortcut().toString() + " " +
                           QKeySequence::listToString(action->shortcuts());
        QCOMPARE(entries,
                 (QStringList{"Zoom &In Ctrl++ Ctrl++; Ctrl+=", "Zoom &Out Ctrl+- Ctrl+-",
                              "&Actual Size Ctrl+0 Ctrl+0", "  ", "&Explain  ", "&Theme  "}));
    }

    void StepsGoUpAndDown_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("in");
        QTest::addColumn<int>("out");
        QTest::newRow("bottom") << 100 << 125 << 100;
        QTest::newRow("middle") << 175 << 200 << 150;
        QTest::newRow("uneven step") << 200 << 250 << 175;
        QTest::newRow("top") << 300 << 300 << 250;
    }
    void StepsGoUpAndDown() {
        QFETCH(int, from);
        SetZoomPercent(from);
        ZoomIn();
        QTEST(ZoomPercent(), "in");
        SetZoomPercent(from);
        ZoomOut();
        QTEST(ZoomPercent(), "out");
    }

    void OddValuesSnapToAStep_data() {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("percent");
        QTest::newRow("garbage") << 0 << 100;
        QTest::newRow("near 150") << 160 << 150;
        QTest::newRow("too big") << 1000 << 300;
    }
    void OddValuesSnapToAStep() {
        QFETCH(int, asked);
        SetZoomPercent(asked);
        QTEST(ZoomPercent(), "percent");
    }

    void MainWindowScalesExactly_data() {
        QTest::addColumn<int>("percent");
        for (int percent : {125, 150, 200, 300})
            QTest::newRow(qPrintable(QString::number(percent))) << percent;
    }
    void MainWindowScalesExactly() {
        QFETCH(int, percent);
        TMainWin w;
        const QSize plain = w.size();
        const char* const names[] = {"OpenButton", "RunButton",    "ResetButton", "ZeroPC",
                                     "DisasmWin",  "OutputBox",    "MainMemory",  "Registers",
                                     "SysRegs",    "ViewAsmButton"};
        std::vector<QRect> before;
        std::vector<bool> fitted;
        for (const char* name : names) {
            before.push_back(ClientGeometry(w, name));
            fitted.push_back(
                before.back().width() >=
                w.centralWidget()->findChild<QWidget*>(name)->minimumSizeHint().width());
        }

        SetZoomPercent(percent);  // the open window follows at once
        w.layout()->activate();
        QCOMPARE(w.width(), plain.width() * percent / 100);
        QVERIFY2(w.height() > plain.height() * (percent - 20) / 100,
                 qPrintable(QString("%1 -> %2").arg(plain.height()).arg(w.height())));
        const QRect client = w.centralWidget()->rect();
        for (size_t i = 0; i < std::size(names); ++i) {
            const QRect now = ClientGeometry(w, names[i]);
            // Same place in proportion (a few pixels where a place follows a font's metrics)...
            const QPoint expected = before[i].topLeft() * percent / 100;
            QVERIFY2((now.topLeft() - expected).manhattanLength() <= 6 * percent / 100, names[i]);
            // ...and nothing sticks out of the window or is smaller than it wants to be.
            QVERIFY2(client.contains(now), names[i]);
            auto* widget = w.centralWidget()->findChild<QWidget*>(names[i]);
            QVERIFY2(!fitted[i] || now.width() >= widget->minimumSizeHint().width(), names[i]);
        }
        // The grids' cells and their labels grow together.
        QCOMPARE(w.MainMemory->CellRect(0, 0).width(), 24 * percent / 100);
        for (QPushButton* button : w.centralWidget()->findChildren<QPushButton*>())
            QVERIFY2(button->sizeHint().height() <= button->height() + 2,
                     qPrintable(button->objectName()));

        SetZoomPercent(100);
        QCOMPARE(w.size(), plain);
        for (size_t i = 0; i < std::size(names); ++i)
            QCOMPARE(ClientGeometry(w, names[i]), before[i]);
    }

    void OtherWindowsFollowAtOnce() {
        QWidget window;
        auto* fixedFace = new QLabel("fixed", &window);
        QFont font = fixedFace->font();
        font.setPixelSize(12);
        fixedFace->setFont(font);
        auto* grid = new THexGrid(&window);
        int relayouts = 0;
        FollowZoom(&window, [&relayouts] { ++relayouts; });
        const double appPoints = QApplication::font().pointSizeF();

        SetZoomPercent(200);
        QCOMPARE(relayouts, 1);
        QCOMPARE(fixedFace->font().pixelSize(), 24);
        QCOMPARE(QApplication::font().pointSizeF(), appPoints * 2);
        QCOMPARE(grid->DefaultColWidth(), 48);
        QCOMPARE(grid->FontChanged().Font.pixelSize(), grid->font().pixelSize());

        // A size changed by someone else counts as meant for the zoom of that moment.
        font.setPixelSize(30);
        fixedFace->setFont(font);
        SetZoomPercent(100);
        QCOMPARE(fixedFace->font().pixelSize(), 15);
        QCOMPARE(grid->DefaultColWidth(), 24);
        QCOMPARE(QApplication::font().pointSizeF(), appPoints);
    }

    // The fixed-size dialogs take the zoom's size, and every control stays inside and as
    // large as its text needs.
    void FixedDialogsScale_data() {
        QTest::addColumn<int>("percent");
        for (int percent : {100, 200, 300})
            QTest::newRow(qPrintable(QString::number(percent))) << percent;
    }
    void FixedDialogsScale() {
        QFETCH(int, percent);
        TMainWin w;
        SetZoomPercent(percent);
        const auto z = [percent](int pixels) { return pixels * percent / 100; };
        std::unique_ptr<QDialog> dialogs[] = {std::make_unique<TClearDialog>(w.Simulation(), &w),
                                              std::make_unique<TAboutForm>(&w),
                                              std::make_unique<TAssembleDialog>(*w.MainMemory, &w),
                                              std::make_unique<TOptionsDialog>(&w)};
        QCOMPARE(dialogs[0]->size(), QSize(z(233), z(185)));
        QCOMPARE(dialogs[1]->size(), QSize(z(427), z(187)));
        QCOMPARE(static_cast<TAssembleDialog*>(dialogs[2].get())->OkButton->width(), z(75));
        QVERIFY(dialogs[3]->width() >= z(448) && dialogs[3]->height() >= z(132));
        for (const auto& dialog : dialogs) {
            for (QLayout* layout : dialog->findChildren<QLayout*>()) layout->activate();
            for (QWidget* control : dialog->findChildren<QWidget*>()) {
                if (!control->isVisibleTo(dialog.get())) continue;
                const QRect place(control->mapTo(dialog.get(), QPoint(0, 0)), control->size());
                const QString name = dialog->objectName() + "." + control->objectName();
                QVERIFY2(dialog->rect().contains(place), qPrintable(name));
                // A push button's text fits; labels and check boxes get their size.
                if (auto* button = qobject_cast<QPushButton*>(control))
                    QVERIFY2(button->fontMetrics().horizontalAdvance(
                                 QString(button->text()).remove('&')) +
                                     6 <=
                                 button->width(),
                             qPrintable(name));
                else if (qobject_cast<QLabel*>(control) || qobject_cast<QCheckBox*>(control))
                    QVERIFY2(control->width() >= control->sizeHint().width() - 2, qPrintable(name));
            }
        }
    }

    void EditorWindowGrows() {
        TAssemblerEditor editor;
        const QSize plain = editor.size();
        const int lists = editor.BottomSplitter->sizes()[1];
        SetZoomPercent(200);
        QCOMPARE(editor.BottomSplitter->sizes()[1], 2 * lists);  // its rows are not cut
        SetZoomPercent(125);
        QCOMPARE(editor.size(), plain * 1.25);
        TAssemblerEditor later;
        QCOMPARE(later.size(), plain * 1.25);
        SetZoomPercent(100);
        QCOMPARE(editor.size(), plain);
    }

    void ZoomIsKeptInTheSettings_data() {
        QTest::addColumn<int>("percent");
        QTest::addColumn<bool>("stored");
        QTest::newRow("zoomed") << 175 << true;
        QTest::newRow("actual size writes nothing") << 100 << false;
    }
    void ZoomIsKeptInTheSettings() {
        QFETCH(int, percent);
        QFETCH(bool, stored);
        QTemporaryDir folder;
        const QString path = folder.filePath("Vexlorn.ini");
        const TStartupPlatform platform = IniSettingsPlatform(path);
        TProcessValues values;
        SetZoomPercent(percent);
        QVERIFY(ShutDown(values, platform));
        QCOMPARE(QSettings(path, QSettings::IniFormat).contains("Zoom"), stored);
        SetZoomPercent(125);
        StartUp(values, platform);
        QCOMPARE(ZoomPercent(), stored ? percent : 125);
    }
};

QTEST_MAIN(TMainWinViewTest)
#include "mainwinview_test.moc"
