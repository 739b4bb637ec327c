#include "gui/programstyle.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include "gui/theme.h"
#include "gui/zoom.h"

namespace {

class TProgramStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        const int size = QProxyStyle::pixelMetric(metric, option, widget);
        switch (metric) {
            case PM_ScrollBarExtent:
            case PM_ScrollBarSliderMin:
            case PM_IndicatorWidth:
            case PM_IndicatorHeight:
            case PM_ExclusiveIndicatorWidth:
            case PM_ExclusiveIndicatorHeight:
            case PM_SmallIconSize:
            case PM_ButtonIconSize:
            case PM_ListViewIconSize:
            case PM_SplitterWidth:
                return Zoomed(size);
            default:
                return size;
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (!StrongMarks()) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        if (element == PE_FrameFocusRect) {
            Frame(*option, painter, option->palette.color(QPalette::Highlight), MarkWidth());
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool framed = element == PE_PanelButtonCommand || element == PE_FrameLineEdit ||
                            element == PE_Frame || element == PE_FrameGroupBox ||
                            element == PE_IndicatorCheckBox;
        if (!framed) return;
        const bool focused = option->state & State_HasFocus;
        Frame(*option, painter,
              option->palette.color(focused ? QPalette::Highlight : QPalette::WindowText),
              focused ? MarkWidth() : 1);
    }

private:
    // Strips of the width along the inside of the rectangle's edges.
    static void Frame(const QStyleOption& option, QPainter* painter, const QColor& colour,
                      int width) {
        const QRect r = option.rect;
        painter->fillRect(r.left(), r.top(), r.width(), width, colour);
        painter->fillRect(r.left(), r.bottom() + 1 - width, r.width(), width, colour);
        painter->fillRect(r.left(), r.top(), width, r.height(), colour);
        painter->fillRect(r.right() + 1 - width, r.top(), width, r.height(), colour);
    }
};

}  // namespace

QStyle* NewProgramStyle(const QString& baseStyleName) {
    return new TProgramStyle(QStyleFactory::create(baseStyleName));
}
