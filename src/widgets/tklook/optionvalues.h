#pragma once

#include <QByteArrayView>
#include <QColor>
#include <QRgba64>
#include <QStringList>

#include <functional>
#include <optional>

// Tk's readings of option values, as its widgets read a value from the option database. Where Tk
// rejects a value it fails to create the widget (the program stops with a TclError); these answer
// none, and the Tk look keeps Tk's default instead.
namespace widgets::tk {

// A colour as X holds it, 16 bits a channel; a 24-bit screen shows the top 8 bits of each.
using ColourNameLookup = std::function<std::optional<QRgba64>(const QByteArray &name)>;

// Tk's TkParseColor: "#" with 3, 6, 9 or 12 hex digits, the web colours Tk 8.6 knows itself ("gray",
// "green", "silver", ...: not X's), and any other name as the X server's colour database has it.
std::optional<QRgba64> parseColour(QByteArrayView text, const ColourNameLookup &lookupName);

// The width of the X screen, by which Tk converts distances: in pixels and in millimetres.
struct ScreenWidth
{
    int pixels = 1920;
    int millimetres = 508;
};

// A screen distance: a number, optionally followed by m, c, i or p (millimetres, centimetres, inches,
// points), rounded to pixels. A number too large for an int gives what Tk's conversion gives on x86,
// the smallest int, which a widget then takes as 0.
std::optional<int> parseScreenDistance(QByteArrayView text, ScreenWidth screen);

// The index of the text in the table: the word itself, or a unique abbreviation of it, as Tcl's
// Tcl_GetIndexFromObj accepts it.
std::optional<int> parseTableIndex(QByteArrayView text, const QList<QByteArrayView> &table);

// A Tcl integer: decimal, 0x hex or 0 octal, with blanks around it.
std::optional<int> parseInteger(QByteArrayView text);

// A Tcl boolean: 1/0, true/false, yes/no, on/off (abbreviated, any case) or any number.
std::optional<bool> parseBoolean(QByteArrayView text);

// The 8-bit colour a 24-bit X screen shows for it.
QColor shownColour(QRgba64 colour);

} // namespace widgets::tk
