#pragma once

#include "widgets/colour.h"
#include "widgets/controltype.h"
#include "widgets/events.h"
#include "widgets/fontvalue.h"
#include "widgets/propertyindex.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>
#include <vector>

namespace widgets {

struct EventBinding
{
    Event event;
    EventHandler handler;
};

// A property written by index right after the control is made, in the order listed.
struct PropertySetting
{
    Prop index;
    QVariant value;
    int member = -1;
};

// Settings of a control's look that have no property index.
struct ControlLook
{
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool wordWrap = false;
    bool border = false;          // labels: a sunken frame; entry fields: their usual frame
    bool tkLook = false;          // labels, entries, buttons, radio and check buttons: drawn as Tk draws them
    QStringList items;            // group menu items
    QString groupTitle;           // group menu header
    int pageCount = 0;            // page container
    Colour background = DefaultColour; // page container pages, code editor
    Colour fill = DefaultColour;  // plain rectangle
    Colour outline = DefaultColour;
    int outlineWidth = 1;
    int minimum = 0;              // scroll bars
    int lineStep = 1;
    int pageStep = 1;
    Colour gridLines = DefaultColour;  // grid
    int fixedRows = 1;
    int fixedColumns = 1;
    int defaultRowHeight = 26;
    Colour menuItemText = DefaultColour;     // group menu
    Colour menuItemHotText = DefaultColour;
    Colour menuItemSelectedText = DefaultColour;
    Colour menuBorder = DefaultColour;
};

// One control of a layout table.
struct ControlEntry
{
    int id = 0;
    QString layoutName;
    ControlType type = ControlType::Label;
    QRect rect;
    int parent = 0;               // 0: the window's client area; otherwise the id of a page container
    int page = -1;                // the page of that container
    bool visible = true;
    bool disabled = false;
    bool tabStop = false;
    QString tag;
    // Geometry in screen pixels rather than in the interface's layout units, which scale with the
    // screen: the design and what it sits on, so that a design widget covers Tk's pixels.
    bool screenPixels = false;
    QString accessibleName;       // for controls that show no text of their own
    std::optional<FontValue> font; // for controls without a font property of their own
    ControlLook look;
    QList<PropertySetting> properties;
    QList<EventBinding> events;
};

// How a window gets its frame.
enum class WindowFrame {
    Native,   // a top-level window framed by the window manager
    Drawn,    // a frame of our own, so that the window can also live inside another window
};

struct WindowEntry
{
    int id = 0;
    QString className;            // the window's object name
    QString title;
    QPoint position;              // outer position at load
    QSize size;                   // outer size for drawn frames, client size for native ones
    bool centred = false;         // replaces the position at load
    bool visible = true;
    bool sizable = true;
    WindowFrame frame = WindowFrame::Native;
    bool screenPixels = false;    // the window's and its controls' geometry, as for a control
    Colour background = DefaultColour;
    bool tkLook = false;          // drawn as Tk draws the program's root window (tklook.h)
    // Where the client area places its controls from, in screen pixels from its corner (childorigin.h).
    QPoint childOrigin;
    QList<EventBinding> events;
};

struct WindowLayout
{
    WindowEntry window;
    std::vector<ControlEntry> controls;
};

} // namespace widgets
