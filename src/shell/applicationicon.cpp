#include "shell/applicationicon.h"

#include <QPainter>
#include <QPixmap>

namespace shell {

QIcon applicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal unit = size / 16.0;
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 122, 204));
        painter.drawRoundedRect(QRectF(0, 0, size, size), 3 * unit, 3 * unit);
        // A small window: caption bar and body, with two widgets placed on it.
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(3 * unit, 3.5 * unit, 10 * unit, 2 * unit));
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawRect(QRectF(3 * unit, 6 * unit, 10 * unit, 6.5 * unit));
        painter.setBrush(QColor(0, 122, 204));
        painter.drawRect(QRectF(4.5 * unit, 7.5 * unit, 4 * unit, 1.5 * unit));
        painter.drawRect(QRectF(4.5 * unit, 10 * unit, 7 * unit, 1.2 * unit));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace shell
