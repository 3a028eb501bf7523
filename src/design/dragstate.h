#pragma once

#include <QMetaType>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <optional>

class QTimer;

namespace design {

// Which edges follow the pointer while a widget is dragged. Move drags the whole widget.
enum class DragMode {
    Move,        // the whole widget, size unchanged
    Left,        // the left edge; the right edge stays
    Top,         // the top edge; the bottom edge stays
    Right,       // the right edge
    Bottom,      // the bottom edge
    TopLeft,     // Left and Top together
    TopRight,    // Right and Top
    BottomRight, // Right and Bottom
    BottomLeft,  // Left and Bottom
};

// Bands along the edges, in pixels from the widget's outer edge. The right and bottom bands are wider
// on purpose: the pointer's hot spot sits at its top-left, so those edges are harder to hit.
inline constexpr int LeftBand = 3;
inline constexpr int TopBand = 3;
inline constexpr int RightBand = 5;
inline constexpr int BottomBand = 5;
// No drag makes a widget narrower or lower than this; sizes made smaller in the grid stay as they are.
inline constexpr int MinimumDragSize = 20;
// How often a drag follows the pointer, in milliseconds.
inline constexpr int DragStepInterval = 10;
// A drag whose release was somehow never seen gives up after this many steps (about eleven days).
inline constexpr int DragStepLimit = 100'000'000;

// Decides from the press offset inside a widget of the given outer size what a drag will do.
// Corners win over edges, edges over moving.
DragMode hitTest(QPoint offset, QSize size);

// The rectangle one step of a drag gives the widget, or none when this step changes nothing.
// `press` is the widget's rectangle at the press, `lastApplied` the one the drag gave it last and
// `delta` the pointer's travel since the press. An axis whose candidate size is below the minimum
// keeps its last applied position and size; an axis that does not follow the pointer keeps its press
// values. A move applies on every step; a sizing step only when at least one axis took its candidate.
std::optional<QRect> dragStepGeometry(DragMode mode, const QRect &press, const QRect &lastApplied, QPoint delta);

// The one drag in progress, if any.
struct DragState
{
    bool active = false;        // a drag is following the pointer; idle when false
    DragMode mode = DragMode::Move;
    quintptr target = 0;        // native handle of the widget being dragged
    QRect pressGeometry;        // the widget's geometry at the press, as the grid shows it
    QPoint pressPointer;        // the pointer in screen coordinates at the press, as the press event had it
    quint64 pressSerial = 0;    // the press's pointer sample: what the release's is newer than
    // The press landed on another widget than the one it drags (a larger one over it): that widget's own
    // press or click selects it, and the drag selects its target again.
    bool pressedAnother = false;
    QRect lastApplied;          // the rectangle most recently given to the widget in this drag
    int passes = 0;             // steps taken in this drag, applied or not
    QTimer *stepTimer = nullptr; // owned by the widget layer; runs while a drag is active
};

} // namespace design

Q_DECLARE_METATYPE(design::DragMode)
