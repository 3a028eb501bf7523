#include "widgets/screenscaling.h"

#include "widgets/x11screen.h"

#include <QList>

#include <cmath>
#include <limits>

namespace widgets {

namespace {

constexpr qreal LayoutDotsPerInch = 96;

// A factor as Qt reads one: a positive number, or nothing.
std::optional<qreal> factorOf(const QByteArray &text)
{
    bool ok = false;
    const qreal factor = text.trimmed().toDouble(&ok);
    return ok && factor > 0 && factor < 100 ? std::optional<qreal>(factor) : std::nullopt;
}

int rounded(qreal value)
{
    // Halves away from zero, and never past what an int holds.
    const qreal limit = std::numeric_limits<int>::max();
    return int(qBound(-limit, std::round(value), limit));
}

// The rectangle whose edges are the given ones mapped: neighbours that share an edge still do.
template<typename Map>
QRect mapEdges(const QRect &rect, Map map)
{
    const int left = map(rect.x());
    const int top = map(rect.y());
    return QRect(left, top, map(qreal(rect.x()) + rect.width()) - left, map(qreal(rect.y()) + rect.height()) - top);
}

} // namespace

qreal requestedScaleFactor(const QByteArray &scaleFactor, const QByteArray &screenScaleFactors)
{
    qreal factor = factorOf(scaleFactor).value_or(1);
    for (const QByteArray &entry : screenScaleFactors.split(';')) {
        const qsizetype equals = entry.lastIndexOf('=');
        if (const auto screen = factorOf(equals < 0 ? entry : entry.mid(equals + 1))) {
            factor *= *screen;
            break;
        }
    }
    return factor;
}

void prepareScreenScaling()
{
    const qreal factor = requestedScaleFactor(qgetenv("QT_SCALE_FACTOR"), qgetenv("QT_SCREEN_SCALE_FACTORS"));
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCALE_FACTOR");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    // Qt's fonts and its style's lengths follow the logical resolution: Xft.dpi, or 96 without it.
    // The factor the user asked for multiplies that, as Qt's own scaling would have.
    if (!qFuzzyCompare(factor, qreal(1)) && !qEnvironmentVariableIsSet("QT_FONT_DPI")) {
        const qreal base = x11::xftDpiResource().value_or(LayoutDotsPerInch);
        qputenv("QT_FONT_DPI", QByteArray::number(qMax(1, rounded(base * factor))));
    }
}

int toScreen(int length, qreal scale)
{
    return rounded(length * scale);
}

int fromScreen(int length, qreal scale)
{
    return rounded(length / scale);
}

QSize toScreen(QSize size, qreal scale)
{
    return QSize(toScreen(size.width(), scale), toScreen(size.height(), scale));
}

QSize fromScreen(QSize size, qreal scale)
{
    return QSize(fromScreen(size.width(), scale), fromScreen(size.height(), scale));
}

QRect toScreen(const QRect &rect, qreal scale)
{
    return mapEdges(rect, [scale](qreal edge) { return rounded(edge * scale); });
}

QRect fromScreen(const QRect &rect, qreal scale)
{
    return mapEdges(rect, [scale](qreal edge) { return rounded(edge / scale); });
}

} // namespace widgets
