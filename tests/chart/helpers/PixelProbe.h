#pragma once

// Looking for drawn pixels in a rendered chart picture.

#include <QImage>
#include <QPointF>

#include <cmath>

// True when a pixel within reach (a square of 2 * reach + 1 pixels) of at passes test.
inline bool Near(const QImage &image, QPointF at, int reach, bool (*test)(QRgb))
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(qRound(at.x()) + dx, qRound(at.y()) + dy);
            if (image.rect().contains(p) && test(image.pixel(p)))
                return true;
        }
    return false;
}

// The point at distance pixels from centre in the chart's direction degrees (0° up,
// clockwise).
inline QPointF At(const QPoint &centre, double distance, double degrees)
{
    const double t = degrees * M_PI / 180.0;
    return QPointF(centre.x() + distance * std::sin(t), centre.y() - distance * std::cos(t));
}
