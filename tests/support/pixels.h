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

// How wide the left edge of a frame in the colour is, across the middle row of all that is
// in the colour; 0 when nothing is.
inline int FrameEdgeWidth(const QImage& image, const QColor& colour) {
    const auto row = [&](int y) {
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) return x;
        return -1;
    };
    int top = 0, bottom = image.height() - 1;
    while (top <= bottom && row(top) < 0) ++top;
    while (bottom > top && row(bottom) < 0) --bottom;
    if (top > bottom) return 0;
    const int y = (top + bottom) / 2;
    int x = row(y), width = 0;
    while (x >= 0 && x + width < image.width() && image.pixelColor(x + width, y) == colour) ++width;
    return width;
}
