#include "widgets/tklook/tkoptions.h"

namespace widgets::tk {

namespace {

const QList<QByteArrayView> ReliefNames{"flat", "groove", "raised", "ridge", "solid", "sunken"};
const QList<QByteArrayView> AnchorNames{"n", "ne", "e", "se", "s", "sw", "w", "nw", "center"};
const QList<QByteArrayView> JustifyNames{"left", "right", "center"};
const QList<QByteArrayView> ButtonStateNames{"active", "disabled", "normal"};
const QList<QByteArrayView> EntryStateNames{"disabled", "normal", "readonly"};
const QList<QByteArrayView> DefaultRingNames{"active", "disabled", "normal"};

// Reads each option from the database, and where it has none or one Tk would reject, from Tk's
// default (tkUnixDefault.h), read the same way.
struct OptionReader
{
    const OptionLookup &lookup;
    ScreenWidth screen;
    const ColourNameLookup &names;

    template<typename Value, typename Parse>
    Value read(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback, Parse parse) const
    {
        if (const std::optional<QByteArray> entry = lookup ? lookup(name, optionClass) : std::nullopt) {
            if (const std::optional<Value> value = parse(*entry))
                return *value;
        }
        return parse(fallback).value_or(Value());
    }

    QRgba64 colour(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback) const
    {
        return read<QRgba64>(name, optionClass, fallback, [this](QByteArrayView text) { return parseColour(text, names); });
    }

    // An option that may be empty, and is then none.
    std::optional<QRgba64> colourOrNone(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback) const
    {
        using Answer = std::optional<std::optional<QRgba64>>;
        return read<std::optional<QRgba64>>(name, optionClass, fallback, [this](QByteArrayView text) -> Answer {
            if (text.isEmpty())
                return std::optional<QRgba64>();
            const std::optional<QRgba64> colour = parseColour(text, names);
            return colour ? Answer(colour) : std::nullopt;
        });
    }

    int signedDistance(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback) const
    {
        return read<int>(name, optionClass, fallback, [this](QByteArrayView text) { return parseScreenDistance(text, screen); });
    }

    // Tk's widgets take a negative distance as 0, but for the entry's border.
    int distance(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback) const
    {
        return qMax(0, signedDistance(name, optionClass, fallback));
    }

    int index(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback,
              const QList<QByteArrayView> &table) const
    {
        return read<int>(name, optionClass, fallback, [&table](QByteArrayView text) { return parseTableIndex(text, table); });
    }

    Relief relief(QByteArrayView name, QByteArrayView optionClass, QByteArrayView fallback) const
    {
        return Relief(index(name, optionClass, fallback, ReliefNames));
    }
};

QByteArray classNameOf(WidgetClass widgetClass)
{
    switch (widgetClass) {
    case WidgetClass::Label: return QByteArrayLiteral("Label");
    case WidgetClass::Entry: return QByteArrayLiteral("Entry");
    case WidgetClass::Button: return QByteArrayLiteral("Button");
    case WidgetClass::Radiobutton: return QByteArrayLiteral("Radiobutton");
    case WidgetClass::Checkbutton: break;
    }
    return QByteArrayLiteral("Checkbutton");
}

WidgetOptions entryOptions(const OptionReader &r)
{
    WidgetOptions o;
    o.background = r.colour("background", "Background", "#ffffff");
    o.foreground = r.colour("foreground", "Foreground", "#000000");
    o.disabledBackground = r.colourOrNone("disabledBackground", "DisabledBackground", "#d9d9d9");
    o.readonlyBackground = r.colourOrNone("readonlyBackground", "ReadonlyBackground", "#d9d9d9");
    o.highlightBackground = r.colour("highlightBackground", "HighlightBackground", "#d9d9d9");
    o.borderWidth = r.signedDistance("borderWidth", "BorderWidth", "1");
    o.highlightThickness = r.distance("highlightThickness", "HighlightThickness", "1");
    o.relief = r.relief("relief", "Relief", "sunken");
    const int state = r.index("state", "State", "normal", EntryStateNames);
    o.state = state == 0 ? WidgetState::Disabled : state == 2 ? WidgetState::Readonly : WidgetState::Normal;
    return o;
}

} // namespace

WidgetOptions resolveOptions(WidgetClass widgetClass, const OptionLookup &lookup, ScreenWidth screen,
                             const ColourNameLookup &lookupName)
{
    const OptionReader r{lookup, screen, lookupName};
    if (widgetClass == WidgetClass::Entry)
        return entryOptions(r);
    const bool button = widgetClass == WidgetClass::Button;
    const bool choice = widgetClass == WidgetClass::Radiobutton || widgetClass == WidgetClass::Checkbutton;
    WidgetOptions o;
    o.background = r.colour("background", "Background", "#d9d9d9");
    o.foreground = r.colour("foreground", "Foreground", "#000000");
    // Tk's tables give these the opposite classes: *Foreground sets the active background.
    o.activeBackground = r.colour("activeBackground", "Foreground", "#ececec");
    o.activeForeground = r.colour("activeForeground", "Background", "#000000");
    o.disabledForeground = r.colourOrNone("disabledForeground", "DisabledForeground", "#a3a3a3");
    o.highlightBackground = r.colour("highlightBackground", "HighlightBackground", "#d9d9d9");
    o.borderWidth = r.distance("borderWidth", "BorderWidth", "1");
    o.highlightThickness = r.distance("highlightThickness", "HighlightThickness",
                                      widgetClass == WidgetClass::Label ? "0" : "1");
    o.padX = r.distance("padX", "Pad", button ? "3m" : "1");
    o.padY = r.distance("padY", "Pad", button ? "1m" : "1");
    o.relief = r.relief("relief", "Relief", button ? "raised" : "flat");
    // The program gives every widget but the button anchor=W.
    o.anchor = button ? Anchor(r.index("anchor", "Anchor", "center", AnchorNames)) : Anchor::West;
    o.justify = Justify(r.index("justify", "Justify", "center", JustifyNames));
    if (button)
        o.defaultRing = DefaultRing(r.index("default", "Default", "disabled", DefaultRingNames));
    o.wrapLength = r.signedDistance("wrapLength", "WrapLength", "0");
    o.underline = r.read<int>("underline", "Underline", "-1", [](QByteArrayView text) { return parseInteger(text); });
    const int state = r.index("state", "State", "normal", ButtonStateNames);
    o.state = state == 0 ? WidgetState::Active : state == 1 ? WidgetState::Disabled : WidgetState::Normal;
    if (choice) {
        o.selectColor = r.colourOrNone("selectColor", "Background", "#ffffff");
        o.indicatorOn = r.read<bool>("indicatorOn", "IndicatorOn", "1", [](QByteArrayView text) { return parseBoolean(text); });
        o.offRelief = r.relief("offRelief", "OffRelief", "raised");
    }
    return o;
}

RootOptions resolveRootOptions(const OptionLookup &lookup, ScreenWidth screen, const ColourNameLookup &lookupName)
{
    const OptionReader r{lookup, screen, lookupName};
    RootOptions o;
    o.background = r.colour("background", "Background", "#d9d9d9");
    o.highlightBackground = r.colour("highlightBackground", "HighlightBackground", "#d9d9d9");
    // A frame keeps a negative border width, and takes the other distances as 0 below it (ConfigureFrame).
    o.borderWidth = r.signedDistance("borderWidth", "BorderWidth", "0");
    o.highlightThickness = r.distance("highlightThickness", "HighlightThickness", "0");
    o.padX = r.distance("padX", "Pad", "0");
    o.padY = r.distance("padY", "Pad", "0");
    o.relief = r.relief("relief", "Relief", "flat");
    return o;
}

QPoint childOriginOf(const RootOptions &options)
{
    // FrameWorldChanged sums in ints, which wrap on any machine Tk runs on; Tk_SetInternalBorderEx
    // takes a negative sum as 0.
    const auto side = [&options](int pad) {
        return qMax(0, int(quint32(options.borderWidth) + quint32(options.highlightThickness) + quint32(pad)));
    };
    return QPoint(side(options.padX), side(options.padY));
}

OptionPath pathOf(std::optional<WidgetClass> widgetClass)
{
    OptionPath path{OptionWindow{QByteArrayLiteral("tk"), QByteArrayLiteral("Tk")}};
    if (widgetClass)
        path.append(OptionWindow{std::nullopt, classNameOf(*widgetClass)});
    return path;
}

} // namespace widgets::tk
