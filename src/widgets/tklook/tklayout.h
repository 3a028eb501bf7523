#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>

// How Tk 8.6 on X11 lays out and colours the five widgets a generated program creates, as far as
// the program leaves Tk's defaults alone. The values were read from Tk itself (cget and screenshots
// of python3-tk on a 96 dots-per-inch display), not from its documentation.
namespace widgets::tk {

// The widget classes the generated program creates.
enum class WidgetClass { Label, Entry, Button, Radiobutton, Checkbutton };

// Tk's default option values for one widget class.
struct WidgetDefaults
{
    int borderWidth = 1;
    int highlightThickness = 1;
    int padX = 1;                 // only an anchor on a side uses the padding
    bool anchorWest = true;       // the program asks anchor=W for labels, radio and check buttons
    bool indicator = false;       // radio and check buttons draw one left of their text
    bool checkIndicator = false;  // a check box rather than a radio dot
};

WidgetDefaults defaultsOf(WidgetClass widgetClass);

// Tk's colours: the window and widget background, the 3D shadows Tk derives from it, and the
// entry's white field with the shadows derived from white.
inline const QColor Background(0xd9, 0xd9, 0xd9);
inline const QColor DarkShadow(0x82, 0x82, 0x82);
inline const QColor LightShadow(0xff, 0xff, 0xff);
inline const QColor ActiveBackground(0xec, 0xec, 0xec);
inline const QColor EntryBackground(0xff, 0xff, 0xff);
inline const QColor EntryDarkShadow(0x99, 0x99, 0x99);
inline const QColor EntryLightShadow(0xe6, 0xe6, 0xe6);
inline const QColor Foreground(0x00, 0x00, 0x00);

// Tk's TkComputeAnchor: the top-left corner of a block of the inner size inside a widget whose
// border and highlight ring together are `inset` wide. Divisions truncate toward zero as in C, so a
// block larger than the widget sticks out on both sides, a pixel more on the left.
QPoint anchoredOrigin(bool anchorWest, QSize widget, int inset, int padX, QSize inner);

// The room a radio or check indicator takes left of the text: its diameter (the font's line
// height, or 80 % of it for a check box) plus the width of a "0".
int indicatorSpace(bool checkIndicator, int lineSpacing, int zeroWidth);

// Where Tk centres the indicator: half its room left of the text, half the widget's height down.
QPoint indicatorCentre(int textLeft, int space, int widgetHeight);

} // namespace widgets::tk
