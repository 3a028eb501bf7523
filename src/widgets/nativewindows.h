#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QtGlobal>

#include <optional>

// The platform's view of windows, as the pointer tracking asks it: where the pointer was when one of
// this program's windows last saw it, which window lies under it there, who its parent and its
// siblings are, and where they are. A handle is any value that names a live window of this program;
// a handle that names nothing gives empty answers.
namespace widgets::native {

using Handle = quintptr;

// The pointer on the screen now. Only differences of these positions, and of a sample's screen
// position, mean something: where a window lies on the screen is the window manager's to know, and
// not every one tells.
QPoint pointerPosition();
bool isLeftButtonDown();

// The pointer at a moment one of this program's windows saw it. The position in the window comes
// with the event itself, so it holds wherever the window manager or compositor put the window and
// whatever it told the program about it.
struct PointerSample
{
    Handle window = 0;   // the top-level window the event went to; 0 when none was seen
    Handle widget = 0;   // the widget in it that got the event: for a press, the one under the pointer
    QPoint inWindow;     // in that window's client coordinates
    QPoint screen;       // on the screen, counted as pointerPosition() counts
    quint64 serial = 0;  // grows with every sample taken; 0 for none
};

// Starts taking samples from the mouse events of every window; needs the application object.
// Calling it again does nothing.
void watchPointer();
// The sample of the last mouse event any widget got.
PointerSample latestPointerSample();
// The sample of one mouse event at the widget it went to: none (serial 0) for other events.
PointerSample sampleOf(const QObject *receiver, const QEvent *event);

// The widget that got the sample's event, if it is still there: the one under the pointer when the
// event came, with no button held; 0 otherwise.
Handle windowAt(const PointerSample &sample);
// The deepest visible window of this program at the sample's place in its window, as things lie now.
Handle windowUnder(const PointerSample &sample);
// Whether the window is the ancestor or the ancestor's descendant.
bool isWithin(Handle window, Handle ancestor);
// The sample's position in the window's client coordinates: none when the window does not lie in
// the sample's top-level window.
std::optional<QPoint> positionIn(Handle window, const PointerSample &sample);

// The window's parent, or 0 for a top-level window.
Handle parentOf(Handle window);
// The siblings that follow the window in the stacking order, from the nearest one down.
QList<Handle> windowsBelow(Handle window);
bool isWindowVisible(Handle window);
// The outer rectangle in the parent's client coordinates.
QRect windowGeometry(Handle window);

// The pointer's look while it is over the window.
enum class PointerShape { Arrow, SizeHorizontal, SizeVertical, SizeFallingDiagonal, SizeRisingDiagonal };
void setPointerShape(Handle window, PointerShape shape);

} // namespace widgets::native
