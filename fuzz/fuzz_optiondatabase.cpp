// A resource text as RESOURCE_MANAGER may hold anything: read as Tk reads it, the options of every
// widget class and of the root window resolved from it, and their borders drawn, without a fault. A line without colon
// ends Tk's reading, so nothing after it may change an answer.

#include "widgets/tklook/optiondatabase.h"
#include "widgets/tklook/tkborder.h"
#include "widgets/tklook/tkoptions.h"
#include "widgets/tklook/tkroot.h"

#include <QImage>
#include <QPainter>

namespace {

using namespace widgets::tk;

constexpr WidgetClass Classes[] = {WidgetClass::Label, WidgetClass::Entry, WidgetClass::Button,
                                   WidgetClass::Radiobutton, WidgetClass::Checkbutton};

std::optional<QRgba64> noServer(const QByteArray &)
{
    return std::nullopt;
}

OptionLookup lookupIn(const OptionDatabase &database, std::optional<WidgetClass> widgetClass)
{
    return [&database, path = pathOf(widgetClass)](QByteArrayView name, QByteArrayView optionClass) {
        return database.value(path, name, optionClass);
    };
}

WidgetOptions optionsIn(const OptionDatabase &database, WidgetClass widgetClass)
{
    return resolveOptions(widgetClass, lookupIn(database, widgetClass), ScreenWidth{1920, 508}, noServer);
}

bool same(const WidgetOptions &a, const WidgetOptions &b)
{
    return a.background == b.background && a.foreground == b.foreground && a.borderWidth == b.borderWidth
           && a.highlightThickness == b.highlightThickness && a.padX == b.padX && a.padY == b.padY
           && a.relief == b.relief && a.anchor == b.anchor && a.state == b.state && a.indicatorOn == b.indicatorOn;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const OptionDatabase database = OptionDatabase::fromText(text);
    // A backslash before the last line feed would join the added lines to the text's last one.
    const bool lineEnded = text.isEmpty() || (text.endsWith('\n') && !text.endsWith("\\\n"));
    const OptionDatabase extended = OptionDatabase::fromText(text + "no colon here\n*Button.background: red\n");
    QImage canvas(40, 24, QImage::Format_RGB32);
    QPainter painter(&canvas);
    for (WidgetClass widgetClass : Classes) {
        const WidgetOptions options = optionsIn(database, widgetClass);
        // Tk keeps the entry's border as it is given; every other distance is at least 0.
        if ((widgetClass != WidgetClass::Entry && options.borderWidth < 0) || options.highlightThickness < 0
            || options.padX < 0 || options.padY < 0)
            qFatal("a widget took a negative distance");
        if (lineEnded && text.indexOf('\0') < 0 && !same(options, optionsIn(extended, widgetClass)))
            qFatal("an entry after a line without colon counted");
        draw3DRectangle(painter, borderOf(options.background), canvas.rect(), options.borderWidth, options.relief);
        drawHighlightRing(painter, canvas.size(), options.highlightThickness, Qt::red);
    }
    const RootOptions root = resolveRootOptions(lookupIn(database, std::nullopt), ScreenWidth{1920, 508}, noServer);
    const QPoint origin = childOriginOf(root);
    if (root.highlightThickness < 0 || root.padX < 0 || root.padY < 0 || origin.x() < 0 || origin.y() < 0)
        qFatal("the root window took a negative distance");
    paintRootWindow(painter, canvas.size(), root);
    return 0;
}
