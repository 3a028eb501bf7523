#include "design/dragstate.h"

#include <algorithm>
#include <limits>

namespace design {

namespace {

// Which axes follow the pointer in a mode, and whether the leading edge (left or top) moves.
enum class AxisRole {
    Still,    // keeps its press position and size
    Whole,    // moves, size unchanged
    Leading,  // the left or top edge follows; the far edge stays
    Trailing, // the right or bottom edge follows
};

AxisRole horizontalRole(DragMode mode)
{
    switch (mode) {
    case DragMode::Move: return AxisRole::Whole;
    case DragMode::Left:
    case DragMode::TopLeft:
    case DragMode::BottomLeft: return AxisRole::Leading;
    case DragMode::Right:
    case DragMode::TopRight:
    case DragMode::BottomRight: return AxisRole::Trailing;
    case DragMode::Top:
    case DragMode::Bottom: return AxisRole::Still;
    }
    return AxisRole::Still;
}

AxisRole verticalRole(DragMode mode)
{
    switch (mode) {
    case DragMode::Move: return AxisRole::Whole;
    case DragMode::Top:
    case DragMode::TopLeft:
    case DragMode::TopRight: return AxisRole::Leading;
    case DragMode::Bottom:
    case DragMode::BottomLeft:
    case DragMode::BottomRight: return AxisRole::Trailing;
    case DragMode::Left:
    case DragMode::Right: return AxisRole::Still;
    }
    return AxisRole::Still;
}

struct Axis
{
    int position;
    int size;
    bool tookCandidate;
};

// Pointer travel is bounded by the screen, but nothing here may overflow whatever it is given.
int saturated(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Axis followAxis(AxisRole role, int pressPosition, int pressSize, int lastPosition, int lastSize, int delta)
{
    switch (role) {
    case AxisRole::Still:
        return {pressPosition, pressSize, false};
    case AxisRole::Whole:
        return {saturated(qint64(pressPosition) + delta), pressSize, true};
    case AxisRole::Leading:
    case AxisRole::Trailing: {
        // Widened so that a hostile delta cannot wrap a size around into an acceptable one.
        const qint64 size = role == AxisRole::Leading ? qint64(pressSize) - delta : qint64(pressSize) + delta;
        if (size < MinimumDragSize || size > std::numeric_limits<int>::max())
            return {lastPosition, lastSize, false};
        const qint64 position = role == AxisRole::Leading ? qint64(pressPosition) + delta : pressPosition;
        return {saturated(position), int(size), true};
    }
    }
    return {pressPosition, pressSize, false};
}

} // namespace

DragMode hitTest(QPoint offset, QSize size)
{
    const bool left = offset.x() < LeftBand;
    const bool top = offset.y() < TopBand;
    const bool right = offset.x() >= size.width() - RightBand;
    const bool bottom = offset.y() >= size.height() - BottomBand;
    if (left && top)
        return DragMode::TopLeft;
    if (right && top)
        return DragMode::TopRight;
    if (right && bottom)
        return DragMode::BottomRight;
    if (left && bottom)
        return DragMode::BottomLeft;
    if (left)
        return DragMode::Left;
    if (top)
        return DragMode::Top;
    if (right)
        return DragMode::Right;
    if (bottom)
        return DragMode::Bottom;
    return DragMode::Move;
}

std::optional<QRect> dragStepGeometry(DragMode mode, const QRect &press, const QRect &lastApplied, QPoint delta)
{
    const Axis horizontal = followAxis(horizontalRole(mode), press.left(), press.width(), lastApplied.left(),
                                       lastApplied.width(), delta.x());
    const Axis vertical = followAxis(verticalRole(mode), press.top(), press.height(), lastApplied.top(),
                                     lastApplied.height(), delta.y());
    if (mode != DragMode::Move && !horizontal.tookCandidate && !vertical.tookCandidate)
        return std::nullopt;
    return QRect(horizontal.position, vertical.position, horizontal.size, vertical.size);
}

} // namespace design
