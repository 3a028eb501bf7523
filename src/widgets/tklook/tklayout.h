#pragma once

#include <QPoint>
#include <QSize>

// How Tk 8.6 on X11 lays out the five widgets a generated program creates (tkUnixButton.c, tkUtil.c),
// checked against screenshots of python3-tk.
namespace widgets::tk {

// The widget classes the generated program creates.
enum class WidgetClass { Label, Entry, Button, Radiobutton, Checkbutton };

// What a widget class draws besides its text.
struct ClassTraits
{
    bool indicator = false;       // radio and check buttons draw one left of their text
    bool checkIndicator = false;  // a check box rather than a radio dot
};

ClassTraits traitsOf(WidgetClass widgetClass);

// In the order of Tk's tables, which abbreviations are checked against.
enum class Relief { Flat, Groove, Raised, Ridge, Solid, Sunken };
enum class Anchor { North, NorthEast, East, SouthEast, South, SouthWest, West, NorthWest, Center };
enum class Justify { Left, Right, Center };

// Tk's TkComputeAnchor: the top-left corner of a block of the inner size inside a widget whose
// border and highlight ring together are `inset` wide; the padding counts only on an anchored side.
// Divisions truncate toward zero as in C, so a centred block larger than the widget sticks out on both
// sides, a pixel more on the left.
QPoint anchoredOrigin(Anchor anchor, QSize widget, int inset, QSize padding, QSize inner);

// How far Tk moves a button's text from where its anchor puts it, for the relief it shows: a raised
// button's not at all, a sunken one's down and right by 1 or 2 pixels, by the parity of its size.
QPoint buttonTextShift(Relief relief, QSize widget);

// The room a radio or check indicator takes left of the text: its diameter (the font's line
// height, or 80 % of it for a check box) plus the width of a "0".
int indicatorSpace(bool checkIndicator, int lineSpacing, int zeroWidth);

// Where Tk centres the indicator: half its room left of the text, half the widget's height down.
QPoint indicatorCentre(int textLeft, int space, int widgetHeight);

} // namespace widgets::tk
