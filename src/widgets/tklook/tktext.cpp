#include "widgets/tklook/tklook.h"

#include "widgets/x11screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <clocale>
#include <cmath>

#include <locale.h>

namespace widgets::tk {

namespace {

// Xft sends each glyph's image to the X server in one request, which may not pass 16 MiB; a glyph of
// a 2,000-pixel font in subpixel colour (four bytes a pixel) already can. Tk then ends the program
// with an X error (BadLength). Text up to this many pixels keeps well below that.
constexpr qreal LargestTextPixels = 1500;

} // namespace

double textDotsPerInch()
{
    static const double dpi = [] {
        if (const auto resource = x11::xftDpiResource())
            return *resource;
        if (const auto physical = x11::physicalDotsPerInch())
            return *physical;
        // Away from X11 there is no Xft: the screen's logical resolution stands in for it.
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen && screen->logicalDotsPerInchY() > 0 ? screen->logicalDotsPerInchY() : 96.0;
    }();
    return dpi;
}

QByteArray programLanguage()
{
    for (const char *name : {"FC_LANG", "LC_ALL"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return qgetenv(name);
    }
    QByteArray ctype = qgetenv("LC_CTYPE");
    if (ctype.isEmpty())
        ctype = qgetenv("LANG");
    // Python's check: would this LC_CTYPE locale load, and is it other than C?
    const locale_t loaded = ctype.isEmpty() ? locale_t(nullptr) : newlocale(LC_CTYPE_MASK, ctype.constData(), locale_t(nullptr));
    if (loaded)
        freelocale(loaded);
    const bool legacy = !loaded || ctype == "C" || ctype == "POSIX";
    if (legacy && qgetenv("PYTHONCOERCECLOCALE") != "0")
        return QByteArrayLiteral("C.UTF-8");
    return ctype;
}

void adoptProgramLanguage()
{
    if (!qEnvironmentVariableIsSet("FC_LANG") && qEnvironmentVariableIsEmpty("LC_ALL"))
        qputenv("FC_LANG", programLanguage());
}

int largestTextPoints()
{
    return qMax(1, int(std::floor(LargestTextPixels * 72 / textDotsPerInch())));
}

} // namespace widgets::tk
