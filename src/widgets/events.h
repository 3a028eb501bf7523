#pragma once

#include <QList>

#include <functional>

namespace widgets {

// Events by number. 0 and up belong to the control's type; negative numbers are common to every control.
enum class Event : int {
    // window
    Created = 0,
    MayClose = 1,          // a handler returning false keeps the window open
    AboutToBeDestroyed = 2,
    PositionChanged = 3,
    SizeChanged = 4,

    Clicked = 0,           // push button, colour button
    SelectionChanged = 0,  // drop-down list, group menu: the user chose an entry
    ScrollChanged = 0,     // scroll bar: a user scroll action changed the position
    EditEnded = 0,         // grid: an in-place edit ended (committed or cancelled)
    EditorUpdated = 0,     // code editor: text, selection or scroll position changed
    ButtonChanged = 0,     // input device: (key value, state)
    DeviceMoved = 1,       // input device: (x, y, 0, dx, dy, 0) in screen coordinates
    ItemDropped = 1,       // group menu: an item pressed was let go outside the menu (the item)

    LeftButtonDown = -1,   // (x, y, key state); a handler returning false cancels the default handling
    LeftButtonUp = -2,
    LeftDoubleClick = -3,
    RightButtonDown = -4,
    RightButtonUp = -5,
    PointerMoved = -6,     // (x, y, key state)
};

// The input device's button notification: which button, and what happened to it.
namespace PointerKey {
inline constexpr int Left = 256;
inline constexpr int Right = 257;
inline constexpr int Middle = 258;
}
namespace ButtonState {
inline constexpr int None = 0;
inline constexpr int Released = 1;
inline constexpr int Pressed = 2;
inline constexpr int Held = 3;
}

// Key states of pointer events: the sum of these.
inline constexpr int KeyCtrl = 1;
inline constexpr int KeyShift = 2;
inline constexpr int KeyAlt = 4;

struct EventArgs
{
    QList<int> values;

    int value(qsizetype i) const { return i < values.size() ? values.at(i) : 0; }
};

// A handler answers true to let the default handling go on (the answer of a handler "without value"),
// false to cancel it or, for MayClose, to keep the window open.
using EventHandler = std::function<bool(const EventArgs &)>;

// Binds a handler that takes no arguments and has nothing to say about the default handling.
inline EventHandler plainHandler(std::function<void()> action)
{
    return [action = std::move(action)](const EventArgs &) {
        action();
        return true;
    };
}

} // namespace widgets
