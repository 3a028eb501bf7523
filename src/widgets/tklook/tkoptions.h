#pragma once

#include "widgets/tklook/optiondatabase.h"
#include "widgets/tklook/optionvalues.h"
#include "widgets/tklook/tklayout.h"

#include <QPoint>
#include <QRgba64>

#include <optional>

// The options that shape the pixels of the generated program's widgets and root window: Tk's
// defaults, and what the option database changes of them. The program sets only the text, the font
// and (for labels, radio and check buttons) anchor=W itself; everything else Tk takes from the
// database where it has an entry for the widget, and from its defaults otherwise.
//
// The path Tk matches for a widget is the root window, named "tk" (tkinter makes the application's
// name from its class, "Tk", not from the script's file) of class Tk, and the widget, of its class.
// The widget's own name ("!label", "!button2", ...) depends on its place in the program, which the
// widget layer does not know: patterns that name a widget are not matched.
namespace widgets::tk {

// The widgets' states; readonly is the entry's alone.
enum class WidgetState { Normal, Active, Disabled, Readonly };
// A button's default ring, in the order of Tk's table.
enum class DefaultRing {
    Active,    // drawn, a sunken line 2 pixels outside the border
    Disabled,  // none, and no room for one
    Normal,    // room for it, 5 pixels in the highlight background
};

struct WidgetOptions
{
    QRgba64 background;
    QRgba64 foreground;
    QRgba64 activeBackground;
    QRgba64 activeForeground;
    std::optional<QRgba64> disabledForeground;  // none: Tk stipples the text instead
    QRgba64 highlightBackground;
    std::optional<QRgba64> selectColor;         // radio and check buttons; none: the background
    std::optional<QRgba64> disabledBackground;  // the entry's; none: its background
    std::optional<QRgba64> readonlyBackground;  // the entry's; none: its background
    int borderWidth = 1;                        // only the entry's may be negative
    int highlightThickness = 1;
    int padX = 1;
    int padY = 1;
    Relief relief = Relief::Flat;
    Relief offRelief = Relief::Raised;          // a radio or check button without indicator, while off
    Anchor anchor = Anchor::West;
    Justify justify = Justify::Center;
    DefaultRing defaultRing = DefaultRing::Disabled;
    int wrapLength = 0;                         // none at 0 or below
    int underline = -1;                         // the index of the character to underline; none below 0
    bool indicatorOn = true;
    WidgetState state = WidgetState::Normal;
};

// The options of the program's root window, a Tk toplevel of class Tk, that shape its pixels and where
// it places its children.
struct RootOptions
{
    QRgba64 background;
    QRgba64 highlightBackground;    // its ring's colour without the keyboard focus
    int borderWidth = 0;            // may be negative
    int highlightThickness = 0;
    int padX = 0;
    int padY = 0;
    Relief relief = Relief::Flat;
};

// The entry the database has for an option of the widget: name and class as Tk's option tables
// name them ("activeBackground", "Foreground").
using OptionLookup = std::function<std::optional<QByteArray>(QByteArrayView name, QByteArrayView optionClass)>;

// The options of a generated widget of the class. A value Tk would reject leaves Tk's default.
WidgetOptions resolveOptions(WidgetClass widgetClass, const OptionLookup &lookup, ScreenWidth screen,
                             const ColourNameLookup &lookupName);

// The root window's options. A value Tk would reject leaves Tk's default (Tk() itself fails then).
RootOptions resolveRootOptions(const OptionLookup &lookup, ScreenWidth screen, const ColourNameLookup &lookupName);

// Where place measures the root window's children from, in pixels from its top-left corner: its
// internal border on the left and at the top, ring, border and padding added as Tk's ints add them,
// and none below 0.
QPoint childOriginOf(const RootOptions &options);

// The path of a generated widget of the class, below the root window.
OptionPath pathOf(std::optional<WidgetClass> widgetClass);

// The options in force on this screen: the database read once, as Tk reads it when the program starts
// (tklook.cpp).
const WidgetOptions &optionsOf(WidgetClass widgetClass);
const RootOptions &rootOptions();
// The screen's width, by which Tk converts distances and points to pixels, read once.
ScreenWidth programScreenWidth();

} // namespace widgets::tk
