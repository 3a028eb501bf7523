#pragma once

// Comparing the design window with Tk's window of its program, pixel by pixel: shares of differing
// pixels over an area, and exact comparison where no text is drawn.

#include <QImage>
#include <QRegion>

#include <optional>

namespace look {

// The shares of the area's pixels whose largest channel difference exceeds 40 and 12, and an image
// of the whole window that shows where (red over 40, orange over 12).
struct Difference
{
    double coarse = 1.0;
    double fine = 1.0;
    QImage map;
};

inline int channelDifference(QRgb p, QRgb q)
{
    return qMax(qAbs(qRed(p) - qRed(q)), qMax(qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))));
}

inline Difference compare(const QImage &a, const QImage &b, const QRegion &area)
{
    Difference result;
    if (a.size() != b.size() || a.isNull())
        return result;
    result.map = QImage(a.size(), QImage::Format_RGB32);
    result.map.fill(Qt::white);
    qint64 coarse = 0;
    qint64 fine = 0;
    qint64 total = 0;
    for (const QRect &rect : area.intersected(a.rect())) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const int most = channelDifference(a.pixel(x, y), b.pixel(x, y));
                ++total;
                coarse += most > 40;
                fine += most > 12;
                if (most > 12)
                    result.map.setPixel(x, y, most > 40 ? qRgb(255, 0, 0) : qRgb(255, 200, 0));
            }
        }
    }
    result.coarse = total ? double(coarse) / total : 0;
    result.fine = total ? double(fine) / total : 0;
    return result;
}

// The first pixel of the area where the images differ at all, or none.
inline std::optional<QPoint> firstMismatch(const QImage &a, const QImage &b, const QRegion &area)
{
    for (const QRect &rect : area.intersected(a.rect())) {
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                if (a.pixel(x, y) != b.pixel(x, y))
                    return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

// The band of the given thickness just inside the rectangle's edges.
inline QRegion frameOf(const QRect &rect, int thickness)
{
    return QRegion(rect).subtracted(QRegion(rect.adjusted(thickness, thickness, -thickness, -thickness)));
}

} // namespace look
