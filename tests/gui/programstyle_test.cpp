// The program's style: each control that Tab reaches wears a frame of the mark's width in
// the focus colour, in every theme and at every zoom. (That nothing else differs from the
// desktop's style at 100 % in Light, the main window's theme test shows.)

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

#include "gui/zoom.h"
#include "pixels.h"
#include "themerows.h"

class TProgramStyleTest : public QObject {
    Q_OBJECT
    QWidget* window = nullptr;
    QList<QWidget*> controls;  // in Tab order, after an edit box that has focus

    void ShowControls() {
        auto* flat = new QPushButton("Close");
        flat->setFlat(true);
        auto* combo = new QComboBox;
        combo->addItem("Light");
        auto* tool = new QToolButton;
        tool->setText("Speed");
        tool->setFocusPolicy(Qt::StrongFocus);
        controls = {new QLineEdit, new QPushButton("Run"), flat, new QCheckBox("Explain"), combo,
                    tool};
        window = new QWidget;
        auto* layout = new QVBoxLayout(window);
        for (QWidget* control : controls) layout->addWidget(control);
        layout->addWidget(new QListWidget);  // a frame and a scroll bar
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        controls.front()->setFocus();
    }

private slots:
    void cleanup() {
        delete window;
        SetZoomPercent(100);
        SetTheme(TTheme::System);
    }

    void FocusFrameOnEveryControl_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<int>("zoom");
        for (const TTheme theme : PickedThemes)
            for (const int zoom : {100, 200})
                QTest::addRow("%s %d %%", qPrintable(ThemeName(theme)), zoom) << theme << zoom;
    }
    void FocusFrameOnEveryControl() {
        QFETCH(TTheme, theme);
        QFETCH(int, zoom);
        SetTheme(theme);
        SetZoomPercent(zoom);
        ShowControls();
        QCOMPARE(MarkWidth(), (theme == TTheme::HighContrast ? 3 : 2) * zoom / 100);
        const QColor frame = ThemeColour(TThemeColour::FocusFrame);
        for (QWidget* control : controls.mid(1)) {
            QCOMPARE(FrameEdgeWidth(control->grab().toImage(), frame), 0);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), control);
            QVERIFY2(FrameEdgeWidth(control->grab().toImage(), frame) == MarkWidth(),
                     control->metaObject()->className());
        }
    }
};

QTEST_MAIN(TProgramStyleTest)
#include "programstyle_test.moc"
