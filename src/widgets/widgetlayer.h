#pragma once

#include "widgets/control.h"
#include "widgets/controlref.h"
#include "widgets/fontvalue.h"
#include "widgets/layouttable.h"
#include "widgets/nativewindows.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace widgets {

class WindowControl;

// One control's properties, read without looking the control up again for each: for a caller that
// reads several of them, such as the generator for every component of a large design. Valid only
// until the control is removed or its window unloaded; an absent control reads as readProperty does.
class ControlReader
{
public:
    ControlReader() = default;
    explicit ControlReader(const Control *control) : m_control(control) {}

    bool exists() const { return m_control != nullptr; }
    // Left, top, width and height in one, as readProperty answers them one by one.
    QRect geometry() const;
    QVariant read(Prop index, int member = -1) const;

private:
    // The properties every control has: geometry, tag, visibility, enabled state.
    QVariant readCommon(Prop index) const;

    const Control *m_control = nullptr;
};

// Message box flags and answers, numbered as the designer's handlers know them.
namespace MessageBoxFlag {
inline constexpr int Ok = 0x0;
inline constexpr int OkCancel = 0x1;
inline constexpr int YesNo = 0x4;
inline constexpr int IconError = 0x10;
inline constexpr int IconQuestion = 0x20;
inline constexpr int IconWarning = 0x30;
inline constexpr int IconInformation = 0x40;
}
namespace MessageBoxAnswer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}

// Windows built from layout tables, controls addressed by identifier, properties read and written by
// index, events delivered by number to the handlers bound in the tables.
class WidgetLayer : public QObject
{
    Q_OBJECT

public:
    WidgetLayer();
    ~WidgetLayer() override;

    // Makes a window's layout table known, so that it can be loaded under its identifier.
    void registerWindow(WindowLayout layout);

    // Builds the window and its controls, raises created, position changed and size changed, then
    // shows it. Answers false when the window is unknown or already loaded.
    bool loadWindow(int window);
    bool isLoaded(int window) const;
    bool exists(const ControlRef &ref) const;

    QVariant readProperty(const ControlRef &ref, Prop index, int member = -1) const;
    ControlReader reader(const ControlRef &ref) const;
    void writeProperty(const ControlRef &ref, Prop index, const QVariant &value, int member = -1);

    int readInteger(const ControlRef &ref, Prop index, int member = -1) const;
    QString readText(const ControlRef &ref, Prop index, int member = -1) const;
    bool readBoolean(const ControlRef &ref, Prop index) const;

    QSize clientSize(const ControlRef &ref) const;
    int clientWidth(const ControlRef &ref) const;
    int clientHeight(const ControlRef &ref) const;

    // Omitted edges and sizes keep their value; a width or height of -1 means keep too. Does not clamp.
    void moveControl(const ControlRef &ref, std::optional<int> left, std::optional<int> top,
                     std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt);

    // Makes the control a child of another control's client area, possibly in another window. It keeps
    // its place on the screen.
    void setParent(const ControlRef &ref, const ControlRef &newParent);

    // Where the window's client area places its controls from, in screen pixels from its corner
    // (WindowEntry::childOrigin). Its controls keep their geometry, and move on the screen.
    void setChildOrigin(const ControlRef &window, QPoint origin);
    // A point of the window's client area, in screen pixels from its corner, as its controls' positions
    // and its own pointer events give it.
    QPoint placedPosition(const ControlRef &window, QPoint clientPoint) const;

    // Copies the source's stored layout entry into a new hidden control behind it, which answers events
    // through the source's bindings. False, with nothing changed, when it cannot.
    bool cloneControl(const ControlRef &source, ControlRef &output);

    // The first control, in control-list order, whose tag reads as n. No match is a fatal fault.
    ControlRef findControlByTag(int window, int n);

    // The control whose event is being handled. Outside a handler this is a fatal fault.
    ControlRef eventSource();

    quintptr nativeHandle(const ControlRef &ref) const;
    // The native handle of the control's client area, where its children and pointer events are.
    quintptr clientHandle(const ControlRef &ref) const;
    // The control with that native handle, or a null reference.
    ControlRef controlOfHandle(quintptr handle) const;
    QWidget *widget(const ControlRef &ref) const;
    Control *control(const ControlRef &ref) const;

    int listAddItem(const ControlRef &list, const QString &text);
    QString listItemText(const ControlRef &list, int index) const;
    int listCount(const ControlRef &list) const;

    // The grid's cell operations, in grid coordinates (row 0 and column 0 are the fixed headers).
    void setColumnWidth(const ControlRef &grid, int column, int width);
    int columnWidth(const ControlRef &grid, int column) const;
    void setCellText(const ControlRef &grid, int row, int column, const QString &text);
    QString cellText(const ControlRef &grid, int row, int column) const;
    void setCellsReadOnly(const ControlRef &grid, int firstRow, int firstColumn, int lastRow, int lastColumn,
                          bool readOnly);

    // Sends a Scintilla message to a code editor.
    long sendScintilla(const ControlRef &editor, unsigned message, unsigned long wParam = 0, long lParam = 0);
    long sendScintilla(const ControlRef &editor, unsigned message, unsigned long wParam, const char *lParam);

    // Ends an in-place edit of the grid if one is open, as a click elsewhere would.
    void finishGridEdit(const ControlRef &grid);

    // The smallest and largest size the user can give a top-level window: the smallest is a client
    // size, the largest an outer size that counts the window manager's frame (see WindowControl).
    void setSizeLimits(const ControlRef &window, QSize smallestClient, QSize largestOuter);

    // Starts or stops the polling of an input device.
    void setInputDeviceRunning(const ControlRef &device, bool running);
    // The control over which the pointer's moves are watched; its buttons are watched everywhere.
    void setInputDeviceArea(const ControlRef &device, const ControlRef &area);
    // Where the pointer was when the button change the device reports now happened (see
    // InputDeviceMonitor::changeSample).
    native::PointerSample inputDeviceSample(const ControlRef &device) const;

    int messageBox(const QString &text, int flags, const QString &caption,
                   std::optional<ControlRef> owner = std::nullopt);

    // The screen and the pointer in screen pixels, the units of the design.
    static int screenWidth();
    static int screenHeight();
    static int pointerX();
    static int pointerY();
    // The part of the screen that windows may cover, the screen less the desktop's panels and docks,
    // in the interface's layout units: what the interface's windows are sized in.
    static QSize availableScreenSize();

    // Brings the window up to date at once, or has a control repaint its whole area.
    void redraw(const ControlRef &ref);
    // Has the control paint itself once off the screen, hidden as it may be, so that what its
    // painting needs (the fonts of the Tk look) is ready before a copy of it is first shown.
    void preparePainting(const ControlRef &ref);

    // Dispatches every waiting event; stops early when the program is asked to quit.
    void processPendingEvents();
    // Keeps dispatching events until the milliseconds have passed.
    void waitProcessingEvents(int milliseconds);

    [[noreturn]] void endProgram(int exitCode);
    // Shows "运行时出错!" with the fault and ends the program.
    [[noreturn]] void fatalFault(int number, const QString &message, const QString &place);

    // Delivers an event to the handler bound for it, following the copied-from link of clones.
    bool raiseEvent(int window, int control, Event event, const EventArgs &args = {});

    // Control identifiers of a window in control-list order, the window's own entry first.
    QList<int> controlList(int window) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct ControlRecord
    {
        ControlEntry entry;                 // as stored in the table (for a clone: the copy)
        std::unique_ptr<Control> control;
        int copiedFrom = 0;
    };
    struct LoadedWindow
    {
        WindowLayout layout;
        std::unique_ptr<WindowControl> window;
        std::map<int, ControlRecord> controls;
        std::vector<int> order;             // control list, without the window's own entry
        int nextId = 1;
    };
    struct ControlKey
    {
        int window;
        int control;
    };

    LoadedWindow *loaded(int window) const;
    Control *find(const ControlRef &ref) const;
    const ControlRecord *record(const ControlRef &ref) const;
    QWidget *parentWidgetFor(LoadedWindow &window, const ControlEntry &entry) const;
    Control *makeControl(LoadedWindow &window, int id, const ControlEntry &entry);
    void watch(QWidget *widget, int window, int control);
    bool hasBinding(int window, int control, Event event) const;
    void writeCommon(Control &control, Prop index, const QVariant &value);

    std::map<int, WindowLayout> m_tables;
    std::map<int, LoadedWindow> m_windows;
    QHash<QObject *, ControlKey> m_watched;
    QHash<quintptr, ControlKey> m_handles;  // native handle of each control made; checked before use
    QList<ControlRef> m_eventSources;
    int m_loading = 0;
    bool m_ended = false;
};

} // namespace widgets
