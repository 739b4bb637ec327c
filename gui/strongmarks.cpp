#include "gui/strongmarks.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include "gui/theme.h"

namespace {

class TStrongMarksStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
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
    static void Frame(const QStyleOption& option, QPainter* painter, const QColor& colour,
                      int width) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        const int inset = width / 2;
        painter->drawRect(option.rect.adjusted(inset, inset, -inset - 1, -inset - 1));
        painter->restore();
    }
};

}  // namespace

QStyle* NewStrongMarksStyle(const QString& baseStyleName) {
    return new TStrongMarksStyle(QStyleFactory::create(baseStyleName));
}
