#include "widgets/childorigin.h"

namespace widgets {

namespace {

int wrapped(qint64 position)
{
    return qint16(quint16(position));
}

QPoint moved(QPoint point, QPoint by, int sign)
{
    return QPoint(wrapped(point.x() + sign * qint64(by.x())), wrapped(point.y() + sign * qint64(by.y())));
}

} // namespace

QRect shownRect(const QRect &placed, QPoint origin)
{
    return origin.isNull() ? placed : QRect(moved(placed.topLeft(), origin, 1), placed.size());
}

QRect placedRect(const QRect &shown, QPoint origin)
{
    return origin.isNull() ? shown : QRect(placedPoint(shown.topLeft(), origin), shown.size());
}

QPoint placedPoint(QPoint shown, QPoint origin)
{
    return origin.isNull() ? shown : moved(shown, origin, -1);
}

} // namespace widgets
