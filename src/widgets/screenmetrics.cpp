#include "widgets/screenmetrics.h"

#include "widgets/x11screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace widgets {

namespace {

constexpr qreal LayoutUnitDotsPerInch = 96;

// Xft sends each glyph's image to the X server in one request, which may not pass 16 MiB; a glyph of
// a 2,000-pixel font in subpixel colour (four bytes a pixel) already can. Tk then ends the program
// with an X error (BadLength). Text up to this many pixels keeps well below that.
constexpr qreal LargestTextPixels = 1500;

qreal logicalDotsPerInch()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : LayoutUnitDotsPerInch;
    return dpi > 0 ? dpi : LayoutUnitDotsPerInch;
}

} // namespace

int layoutDotsPerInch()
{
    const int dpi = qRound(logicalDotsPerInch());
    return dpi > 0 ? dpi : int(LayoutUnitDotsPerInch);
}

qreal interfaceScale()
{
    return logicalDotsPerInch() / LayoutUnitDotsPerInch;
}

double textDotsPerInch()
{
    static const double dpi = [] {
        if (const auto resource = x11::xftDpiResource())
            return *resource;
        if (const auto physical = x11::physicalDotsPerInch())
            return *physical;
        // Away from X11 there is no Xft: the layout resolution stands in for it.
        return double(logicalDotsPerInch());
    }();
    return dpi;
}

int largestTextPoints()
{
    return qMax(1, int(std::floor(LargestTextPixels * 72 / textDotsPerInch())));
}

int drawableTextPoints(int points)
{
    return qMin(points, largestTextPoints());
}

QRect availableArea()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QSize clientRoom(QSize outer, QSize frame)
{
    return (outer - frame).expandedTo(QSize(1, 1));
}

} // namespace widgets
