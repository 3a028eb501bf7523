#include "widgets/tklook/tkroot.h"

#include "widgets/tklook/tkborder.h"
#include "widgets/tklook/tklook.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace widgets::tk {

namespace {

// Paints the widget as the root window of its size, in place of Qt's own painting.
class RootPainter : public QObject
{
public:
    explicit RootPainter(QWidget *widget) : QObject(widget) { widget->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        QPainter painter(widget);
        paintRootWindow(painter, widget->size(), rootOptions());
        return true;
    }
};

} // namespace

void paintRootWindow(QPainter &painter, QSize size, const RootOptions &options)
{
    const Border border = borderOf(options.background);
    painter.fillRect(QRect(QPoint(), size), border.background);
    const int ring = options.highlightThickness;
    drawHighlightRing(painter, size, ring, shownColour(options.highlightBackground));
    // A ring so wide that Tk's ints would overflow leaves no inside to draw.
    const qint64 insideWidth = size.width() - 2 * qint64(ring);
    const qint64 insideHeight = size.height() - 2 * qint64(ring);
    if (qMin(insideWidth, insideHeight) < -(qint64(1) << 30))
        return;
    fill3DRectangle(painter, border, QRect(ring, ring, int(insideWidth), int(insideHeight)), options.borderWidth,
                    options.relief);
}

void paintAsTkRoot(QWidget *widget)
{
    new RootPainter(widget);
}

} // namespace widgets::tk
