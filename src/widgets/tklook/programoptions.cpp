// The option database the generated program's Tk will read on this screen, and the options it gives.
#include "widgets/tklook/tkoptions.h"

#include "widgets/tklook/tklook.h"

#include "widgets/x11screen.h"

#include <QFile>
#include <QHash>

#include <array>

namespace widgets::tk {

namespace {

// Tk reads all of ~/.Xdefaults; a file larger than this is no resource file, and is left unread.
constexpr qint64 LargestDefaultsFile = 16 * 1024 * 1024;

// Read once, as Tk reads it once when the program's root window is made: the RESOURCE_MANAGER
// property, or where it is missing, ~/.Xdefaults (Tk looks at no other file). Away from X11 there is
// no Tk to read anything.
const OptionDatabase &programDatabase()
{
    static const OptionDatabase database = [] {
        const std::optional<x11::ResourceProperty> property = x11::resourceManagerProperty();
        if (!property)
            return OptionDatabase();
        if (property->present)
            return OptionDatabase::fromText(property->text);
        const QByteArray home = qgetenv("HOME");
        QFile file(QString::fromLocal8Bit(home) + QStringLiteral("/.Xdefaults"));
        if (home.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > LargestDefaultsFile)
            return OptionDatabase();
        return OptionDatabase::fromText(file.read(LargestDefaultsFile));
    }();
    return database;
}

std::optional<QRgba64> serverColour(const QByteArray &name)
{
    static QHash<QByteArray, std::optional<QRgba64>> known;
    const auto found = known.constFind(name);
    if (found != known.constEnd())
        return *found;
    return *known.insert(name, x11::colourByName(name));
}

OptionLookup lookupFor(std::optional<WidgetClass> widgetClass)
{
    return [path = pathOf(widgetClass)](QByteArrayView name, QByteArrayView optionClass) {
        return programDatabase().value(path, name, optionClass);
    };
}

} // namespace

ScreenWidth programScreenWidth()
{
    static const ScreenWidth screen = [] {
        ScreenWidth read;
        if (const auto width = x11::screenWidth())
            read = ScreenWidth{width->first, width->second};
        return read;
    }();
    return screen;
}

const WidgetOptions &optionsOf(WidgetClass widgetClass)
{
    static const std::array<WidgetOptions, 5> options = [] {
        const ScreenWidth screen = programScreenWidth();
        std::array<WidgetOptions, 5> all;
        for (WidgetClass each : {WidgetClass::Label, WidgetClass::Entry, WidgetClass::Button,
                                 WidgetClass::Radiobutton, WidgetClass::Checkbutton})
            all[size_t(each)] = resolveOptions(each, lookupFor(each), screen, serverColour);
        return all;
    }();
    return options[size_t(widgetClass)];
}

const RootOptions &rootOptions()
{
    static const RootOptions options = resolveRootOptions(lookupFor(std::nullopt), programScreenWidth(), serverColour);
    return options;
}

QColor rootWindowBackground()
{
    return shownColour(rootOptions().background);
}

QPoint rootWindowChildOrigin()
{
    return childOriginOf(rootOptions());
}

} // namespace widgets::tk
