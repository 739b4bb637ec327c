#include "gui/zoom.h"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "controls/hexgrid.h"
#include "gui/textfragments.h"
#include "gui/theme.h"

namespace {

int percent_ = 100;
int cap_ = std::end(ZoomSteps)[-1];
QFont baseAppFont_;  // the application font at 100 %, taken at the first change

// A length a widget had at 100 %, kept in its properties as "<key>Base" beside the value
// last set, "<key>Set", and the zoom it was set for. When someone else has changed the
// value since, the new value is taken as meant for that zoom.
double Rescaled(QObject* object, const QByteArray& key, double current) {
    const QByteArray baseKey = key + "Base", setKey = key + "Set", atKey = key + "At";
    double base = current;
    const QVariant set = object->property(setKey);
    if (set.isValid()) {
        base = object->property(baseKey).toDouble();
        if (set.toDouble() != current) base = current * 100 / object->property(atKey).toInt();
    }
    const double value = base * percent_ / 100;
    object->setProperty(baseKey, base);
    object->setProperty(atKey, percent_);
    return value;
}

void Remember(QObject* object, const QByteArray& key, double value) {
    object->setProperty(key + "Set", value);
}

// The font's size at the zoom, when its size was set on purpose (otherwise it follows the
// application font, which is zoomed already).
QFont ZoomedFont(QObject* object, const QByteArray& key, QFont font) {
    if (!(font.resolveMask() & QFont::SizeResolved)) return font;
    if (font.pixelSize() > 0) {
        const int size = std::max(1, int(std::lround(Rescaled(object, key, font.pixelSize()))));
        font.setPixelSize(size);
        Remember(object, key, size);
    } else {
        const double size = Rescaled(object, key, font.pointSizeF());
        font.setPointSizeF(size);
        Remember(object, key, size);
    }
    return font;
}

int ZoomedLength(QObject* object, const QByteArray& key, int current) {
    const int value = std::max(1, int(std::lround(Rescaled(object, key, current))));
    Remember(object, key, value);
    return value;
}

void ZoomGrid(THexGrid* grid) {
    grid->SetDefaultColWidth(ZoomedLength(grid, "zoomColWidth", grid->DefaultColWidth()));
    grid->SetDefaultRowHeight(ZoomedLength(grid, "zoomRowHeight", grid->DefaultRowHeight()));
    TCellFont changed = grid->FontChanged();
    changed.Font = ZoomedFont(grid, "zoomFontChanged", changed.Font);
    grid->SetFontChanged(changed);
    TCellFont selected = grid->FontSelected();
    selected.Font = ZoomedFont(grid, "zoomFontSelected", selected.Font);
    grid->SetFontSelected(selected);
}

void ZoomWidget(QWidget* widget, bool isRoot) {
    if (widget->testAttribute(Qt::WA_SetFont))
        widget->setFont(ZoomedFont(widget, "zoomFont", widget->font()));
    if (auto* grid = qobject_cast<THexGrid*>(widget)) ZoomGrid(grid);
    const bool fixedWidth = widget->minimumWidth() == widget->maximumWidth() &&
                            widget->maximumWidth() < QWIDGETSIZE_MAX;
    if (!isRoot && !widget->isWindow() && fixedWidth)
        widget->setFixedWidth(ZoomedLength(widget, "zoomWidth", widget->width()));
}

void ZoomWindow(QWidget* window) {
    ZoomWidget(window, true);
    for (QWidget* child : window->findChildren<QWidget*>()) ZoomWidget(child, false);
}

}  // namespace

int ZoomPercent() {
    return percent_;
}

void SetZoomPercent(int percent) {
    const int* nearest = std::min_element(
        std::begin(ZoomSteps), std::end(ZoomSteps),
        [percent](int a, int b) { return std::abs(a - percent) < std::abs(b - percent); });
    const int wanted = std::min(*nearest, cap_);
    if (wanted == percent_) return;
    if (percent_ == 100) baseAppFont_ = QApplication::font();
    percent_ = wanted;
    QFont font = baseAppFont_;
    if (font.pixelSize() > 0)
        font.setPixelSize(Zoomed(font.pixelSize()));
    else
        font.setPointSizeF(font.pointSizeF() * percent_ / 100);
    QApplication::setFont(font);
    RestyleApplication();  // scroll bars, check marks and icons at the zoom
    emit ZoomNotifier().Changed();
}

void ZoomIn() {
    const int* next = std::upper_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent_);
    if (next != std::end(ZoomSteps)) SetZoomPercent(*next);
}

void ZoomOut() {
    const int* at = std::lower_bound(std::begin(ZoomSteps), std::end(ZoomSteps), percent_);
    if (at != std::begin(ZoomSteps)) SetZoomPercent(*std::prev(at));
}

int ZoomCap(QSize available, QSize client, QSize frame) {
    int cap = ZoomSteps[0];
    for (const int step : ZoomSteps) {
        const auto zoomed = [step](int pixels) { return int(std::ceil(pixels * step / 100.0)); };
        if (zoomed(client.width()) + frame.width() <= available.width() &&
            zoomed(client.height()) + frame.height() <= available.height())
            cap = step;
    }
    return cap;
}

int ZoomCapPercent() {
    return cap_;
}

void SetZoomCap(int percent) {
    if (percent == cap_) return;
    cap_ = percent;
    emit ZoomNotifier().CapChanged();
    if (percent_ > cap_) SetZoomPercent(cap_);
}

int Zoomed(int pixels) {
    return int(std::lround(pixels * percent_ / 100.0));
}

TZoomNotifier& ZoomNotifier() {
    static TZoomNotifier notifier;
    return notifier;
}

void FollowZoom(QWidget* window, std::function<void()> relayout) {
    const auto apply = [window, relayout] {
        ZoomWindow(window);
        if (relayout) relayout();
    };
    if (percent_ != 100) apply();
    QObject::connect(&ZoomNotifier(), &TZoomNotifier::Changed, window, apply);
}

void ZoomLayouts(QWidget* window) {
    if (percent_ == 100) return;
    for (QLayout* layout : window->findChildren<QLayout*>()) {
        const QMargins m = layout->contentsMargins();
        layout->setContentsMargins(Zoomed(m.left()), Zoomed(m.top()), Zoomed(m.right()),
                                   Zoomed(m.bottom()));
        if (layout->spacing() >= 0) layout->setSpacing(Zoomed(layout->spacing()));
    }
}

void ZoomDocument(QTextDocument& document) {
    constexpr int MadePoints = QTextFormat::UserProperty + 2;
    RestyleFragments(document, [](QTextCharFormat& format) {
        if (!format.hasProperty(MadePoints)) {
            if (percent_ == 100 || format.fontPointSize() <= 0) return false;
            format.setProperty(MadePoints, format.fontPointSize());
        }
        format.setFontPointSize(format.property(MadePoints).toDouble() * percent_ / 100);
        return true;
    });
}

QSize ZoomedWindowSize(QSize size, int at) {
    QSize zoomed(int(std::lround(size.width() * double(percent_) / at)),
                 int(std::lround(size.height() * double(percent_) / at)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        zoomed = zoomed.boundedTo(screen->availableGeometry().size());
    return zoomed;
}

QList<QAction*> AddZoomActions(QWidget* window) {
    auto* in = new QAction(QStringLiteral("Zoom &In"), window);
    in->setObjectName(QStringLiteral("MenuZoomIn"));
    in->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl++")), QKeySequence(QStringLiteral("Ctrl+="))});
    auto* out = new QAction(QStringLiteral("Zoom &Out"), window);
    out->setObjectName(QStringLiteral("MenuZoomOut"));
    out->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    auto* actual = new QAction(QStringLiteral("&Actual Size"), window);
    actual->setObjectName(QStringLiteral("MenuActualSize"));
    actual->setShortcut(QKeySequence(QStringLiteral("Ctrl+0")));
    const auto nameCap = [in] {
        const bool capped = cap_ < std::end(ZoomSteps)[-1];
        in->setText(capped ? QStringLiteral("Zoom &In (max %1 % on this screen)").arg(cap_)
                           : QStringLiteral("Zoom &In"));
    };
    nameCap();
    QObject::connect(&ZoomNotifier(), &TZoomNotifier::CapChanged, in, nameCap);
    QObject::connect(in, &QAction::triggered, [] { ZoomIn(); });
    QObject::connect(out, &QAction::triggered, [] { ZoomOut(); });
    QObject::connect(actual, &QAction::triggered, [] { SetZoomPercent(100); });
    const QList<QAction*> actions{in, out, actual};
    window->addActions(actions);
    return actions;
}
