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

// How wide the left edge of a frame of the colour is, counted across the middle row of
// everything in the colour; 0 when nothing is.
inline int FrameEdgeWidth(const QImage& image, const QColor& colour) {
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != colour) continue;
            if (top < 0) top = y;
            bottom = y;
            break;
        }
    }
    if (top < 0) return 0;
    const int middle = (top + bottom) / 2;
    int x = 0;
    while (x < image.width() && image.pixelColor(x, middle) != colour) ++x;
    int width = 0;
    while (x + width < image.width() && image.pixelColor(x + width, middle) == colour) ++width;
    return width;
}
