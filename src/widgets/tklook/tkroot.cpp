// The program's root window as Tk draws it (tkFrame.c, DisplayFrame).
#include "widgets/tklook/tklook.h"

#include "widgets/tklook/tkborder.h"
#include "widgets/tklook/tkoptions.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace widgets::tk {

namespace {

// X clears the window to its background; Tk draws the ring, in the highlight background while the
// window has no focus, and then TkpDrawFrame fills what the ring leaves, with the border inside it.
void paintRootWindow(QPainter &painter, QSize size, const RootOptions &options)
{
    const Border border = borderOf(options.background);
    painter.fillRect(QRect(QPoint(), size), border.background);
    const int ring = options.highlightThickness;
    drawHighlightRing(painter, size, ring, shownColour(options.highlightBackground));
    // Tk's ints would overflow for a ring wider than half of them; no such ring leaves an inside.
    const qint64 insideWidth = size.width() - 2 * qint64(ring);
    const qint64 insideHeight = size.height() - 2 * qint64(ring);
    if (qMin(insideWidth, insideHeight) < -(qint64(1) << 30))
        return;
    fill3DRectangle(painter, border, QRect(ring, ring, int(insideWidth), int(insideHeight)), options.borderWidth,
                    options.relief);
}

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

void paintAsTkRoot(QWidget *widget)
{
    new RootPainter(widget);
}

} // namespace widgets::tk
