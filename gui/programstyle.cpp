#include "gui/programstyle.h"

#include <QAbstractItemView>
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
        // A list's current row keeps the desktop's mark, except on black.
        const bool inList = qobject_cast<const QAbstractItemView*>(widget) != nullptr;
        if (element == PE_FrameFocusRect && (StrongMarks() || !inList)) {
            if (!FocusShown(*option)) return;
            // A check box's mark hugs its text: the frame grows outwards as far as the
            // control reaches, so that it does not cover the letters. A list's row is
            // painted over by its neighbours', so it keeps to its own.
            const int grow = MarkWidth() - 1;
            QRect around = option->rect;
            if (widget && !inList)
                around = around.adjusted(-grow, -grow, grow, grow) & widget->rect();
            FocusFrame(around, painter);
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        const bool outlined = element == PE_PanelButtonCommand || element == PE_FrameLineEdit ||
                              element == PE_Frame || element == PE_FrameGroupBox ||
                              element == PE_IndicatorCheckBox;
        if (!StrongMarks() || !outlined) return;
        if (option->state & State_HasFocus)
            FocusFrame(option->rect, painter);
        else
            Frame(option->rect, painter, option->palette.color(QPalette::WindowText), 1);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element != CE_PushButton) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        WithFocusFrame<QStyleOptionButton>(*option, painter, [&](const QStyleOption& face) {
            QProxyStyle::drawControl(element, &face, painter, widget);
        });
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto drawFace = [&](const QStyleOption& face) {
            QProxyStyle::drawComplexControl(control, static_cast<const QStyleOptionComplex*>(&face),
                                            painter, widget);
        };
        if (control == CC_ComboBox)
            WithFocusFrame<QStyleOptionComboBox>(*option, painter, drawFace);
        else if (control == CC_ToolButton)
            WithFocusFrame<QStyleOptionToolButton>(*option, painter, drawFace);
        else
            QProxyStyle::drawComplexControl(control, option, painter, widget);
    }

private:
    // The desktop shows focus once the keyboard has moved it in the window; on black it
    // always shows.
    static bool FocusShown(const QStyleOption& option) {
        return StrongMarks() || (option.state & State_KeyboardFocusChange);
    }

    static void FocusFrame(const QRect& rect, QPainter* painter) {
        Frame(rect, painter, ThemeColour(TThemeColour::FocusFrame), MarkWidth());
    }

    // Draws the control's face without the desktop's focus mark, then the program's frame
    // round all of it, so that the two never show together.
    template <class Option, class Draw>
    static void WithFocusFrame(const QStyleOption& option, QPainter* painter, Draw drawFace) {
        const auto* typed = qstyleoption_cast<const Option*>(&option);
        if (!typed || !(option.state & State_HasFocus)) {
            drawFace(option);
            return;
        }
        Option face = *typed;
        face.state &= ~State_HasFocus;
        drawFace(face);
        if (FocusShown(option)) FocusFrame(option.rect, painter);
    }

    // Strips of the width along the inside of the rectangle's edges.
    static void Frame(const QRect& r, QPainter* painter, const QColor& colour, int width) {
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
