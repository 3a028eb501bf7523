#pragma once

#include "widgets/fontvalue.h"
#include "widgets/tklook/tklayout.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

// The Tk look: the design's widgets drawn as Tk 8.6 on X11 draws the widgets of the generated
// program, on the screen the designer runs on. What it promises, for a label, entry field, button,
// radio or check button of a given place and size (in screen pixels), caption and (face, points) font:
// - Tk's pixels for everything but text: background, border and highlight ring, relief and the
//   indicator images, pixel for pixel;
// - Tk's text: the faces fontconfig gives Tk for the name (the locale's Chinese forms among them),
//   at the size Xft gives them on this screen (the Xft.dpi resource, else the screen's physical
//   resolution), rendered by FreeType with the hinting, antialiasing and subpixel order Xft uses,
//   placed and composited as the X server composites Xft's glyphs, with Tk's anchoring, line
//   height, indicator spacing and clipping;
// - the options the program leaves to Tk as the screen's option database gives them, read once as
//   Tk reads it (tkoptions.h, optiondatabase.h).
// Fonts are mapped, not read, and what is kept per size is bounded.
namespace widgets::tk {

// What a widget in Tk's look shows at the moment.
struct Content
{
    QString text;
    FontValue font;
    bool checked = false;       // a check box's own state
    bool pressed = false;       // a button held down
};
using ContentSource = std::function<Content()>;

// From now on the widget is painted as Tk paints a widget of the class; it keeps its events, focus and
// accessibility. The content is asked for at each paint.
void paintAsTk(QWidget *widget, WidgetClass widgetClass, ContentSource content);

// The background of the program's root window: Tk's, or what the screen's option database gives it.
QColor rootWindowBackground();

// From now on the widget is painted as Tk paints the program's root window while it does not have the
// keyboard focus: its background, highlight ring and 3-D border as the option database gives them.
void paintAsTkRoot(QWidget *widget);

// Where Tk places the root window's children from, its internal border at the left and the top, in
// screen pixels: a child placed at x=0, y=0 shows there.
QPoint rootWindowChildOrigin();

// The language fontconfig chooses faces for in the generated program's Tk: the environment's, as
// python3 leaves it. Python replaces an LC_CTYPE locale that is missing or "C" with C.UTF-8 before Tk
// starts, so LANG=zh_CN.UTF-8 without the locale installed gives Tk no Chinese preference. The Tk
// look asks fontconfig with it; the interface's own fonts keep the designer's.
QByteArray programLanguage();

} // namespace widgets::tk
