#pragma once
// Looking for a colour in a rendered widget.

#include <QColor>
#include <QImage>
#include <QRect>
#include <cstdlib>

// Whether a pixel of the area has the colour, give or take the text's antialiasing.
inline bool Contains(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - colour.red()) + std::abs(p.green() - colour.green()) +
                    std::abs(p.blue() - colour.blue()) <
                60)
                return true;
        }
    }
    return false;
}
