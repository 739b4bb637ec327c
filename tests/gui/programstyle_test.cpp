// The program's style: a control that keyboard focus reaches wears a frame of the mark's
// width in the focus colour, in every theme and at every zoom; at 100 % in Light nothing
// else differs from the desktop's style.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>
#include <functional>

#include "gui/theme.h"
#include "gui/zoom.h"
#include "pixels.h"
#include "themerows.h"

namespace {

// A window of an edit box and the control, which Tab reaches from the edit box.
struct TTabRig {
    QWidget Window;
    QLineEdit* Edit = new QLineEdit;
    explicit TTabRig(QWidget* control) {
        auto* layout = new QVBoxLayout(&Window);
        layout->addWidget(Edit);
        layout->addWidget(control);
        layout->addWidget(new QListWidget);  // a scroll bar and a frame
        Window.show();
        QApplication::setActiveWindow(&Window);
        Edit->setFocus();
    }
};

const std::pair<const char*, std::function<QWidget*()>> Controls[] = {
    {"button", [] { return new QPushButton("Run"); }},
    {"flat button",
     [] {
         auto* button = new QPushButton("Close");
         button->setFlat(true);
         return button;
     }},
    {"check box", [] { return new QCheckBox("Explain"); }},
    {"combo box",
     [] {
         auto* box = new QComboBox;
         box->addItem("Light");
         return box;
     }},
    {"tool button",
     [] {
         auto* button = new QToolButton;
         button->setText("Speed");
         button->setFocusPolicy(Qt::StrongFocus);
         return button;
     }},
};

}  // namespace

class TProgramStyleTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        SetZoomPercent(100);
        SetTheme(TTheme::System);
    }

    void FocusFrameOnEveryControl_data() {
        QTest::addColumn<TTheme>("theme");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<int>("control");
        for (const TTheme theme : PickedThemes)
            for (const int zoom : {100, 200})
                for (int c = 0; c < int(std::size(Controls)); ++c)
                    QTest::addRow("%s %d %% %s", qPrintable(ThemeName(theme)), zoom,
                                  Controls[c].first)
                        << theme << zoom << c;
    }
    void FocusFrameOnEveryControl() {
        QFETCH(TTheme, theme);
        QFETCH(int, zoom);
        QFETCH(int, control);
        SetTheme(theme);
        SetZoomPercent(zoom);
        QWidget* widget = Controls[control].second();
        TTabRig rig(widget);
        QVERIFY(QTest::qWaitForWindowActive(&rig.Window));
        const QColor frame = ThemeColour(TThemeColour::FocusFrame);
        QCOMPARE(FrameEdgeWidth(widget->grab().toImage(), frame), 0);
        QTest::keyClick(rig.Edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget);
        QCOMPARE(FrameEdgeWidth(widget->grab().toImage(), frame), MarkWidth());
        QCOMPARE(MarkWidth(), (theme == TTheme::HighContrast ? 3 : 2) * zoom / 100);
    }

    // Scroll bars, check marks, buttons and their sizes are the desktop's own.
    void NothingElseChangesAtActualSizeInLight() {
        SetTheme(TTheme::Light);
        QCheckBox* check = new QCheckBox("Explain");
        check->setChecked(true);
        TTabRig rig(check);
        rig.Edit->clearFocus();  // no caret to blink between the pictures
        const QImage ours = rig.Window.grab().toImage();
        const QPalette palette = QApplication::palette();
        const auto* style = qobject_cast<const QProxyStyle*>(QApplication::style());
        QVERIFY(style);
        QApplication::setStyle(QStyleFactory::create(style->baseStyle()->name()));
        QApplication::setPalette(palette);
        const QImage desktop = rig.Window.grab().toImage();
        RestyleApplication();
        QCOMPARE(ours, desktop);
    }
};

QTEST_MAIN(TProgramStyleTest)
#include "programstyle_test.moc"
