#pragma once

#include "widgets/childorigin.h"
#include "widgets/controltype.h"
#include "widgets/events.h"
#include "widgets/layouttable.h"
#include "widgets/propertyindex.h"
#include "widgets/screenscaling.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>

namespace widgets {

// The Qt realisation of one control of a layout table. The widget layer handles the common
// properties (geometry, tag, visibility, enabled state) and the pointer events; a subclass handles
// the properties and events of its type.
class Control
{
public:
    using EventSink = std::function<bool(Event event, const EventArgs &args)>;

    explicit Control(ControlType type) : m_type(type) {}
    virtual ~Control() = default;
    Control(const Control &) = delete;
    Control &operator=(const Control &) = delete;

    ControlType type() const { return m_type; }

    // The outer widget: its geometry, visibility and enabled state are the control's.
    virtual QWidget *widget() const = 0;
    // Where child controls live and where pointer events are observed.
    virtual QWidget *clientWidget() const { return widget(); }

    // The type's own properties. An invalid QVariant (read) or false (write) means "no such index".
    virtual QVariant read(Prop index, int member) const;
    virtual bool write(Prop index, int member, const QVariant &value);

    // Settings without an index, from the layout table; applied once, before the properties.
    virtual void applyLook(const ControlLook &look);

    void setEventSink(EventSink sink) { m_sink = std::move(sink); }

    // Screen pixels per unit of the control's geometry: 1 for a control placed in screen pixels, the
    // interface's scale for the others.
    qreal scale() const { return m_screenPixels ? 1 : interfaceScale(); }
    void setScreenPixels(bool screenPixels) { m_screenPixels = screenPixels; }

    // Where the parent places the control from, in screen pixels from the corner of its client area:
    // the parent window's child origin (WindowEntry), or none.
    QPoint placingOrigin() const { return m_placingOrigin; }
    void setPlacingOrigin(QPoint origin) { m_placingOrigin = origin; }

    // Where the control lies in its parent, in screen pixels from the placing origin; a top-level
    // window's is its frame on the screen.
    virtual QRect screenGeometry() const { return placedRect(widget()->geometry(), m_placingOrigin); }
    virtual void setScreenGeometry(const QRect &rect) { widget()->setGeometry(shownRect(rect, m_placingOrigin)); }
    // The same in the units of the control's geometry (see scale()).
    QRect geometry() const { return fromScreen(screenGeometry(), scale()); }
    void setGeometry(const QRect &rect) { setScreenGeometry(toScreen(rect, scale())); }

    // The tag text: free for the designer's use, empty in every layout table.
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

protected:
    // Delivers one of the type's own events; answers what the handler answered (true when unbound).
    bool raise(Event event, const EventArgs &args = {}) const;

private:
    ControlType m_type;
    EventSink m_sink;
    QString m_tag;
    bool m_screenPixels = false;
    QPoint m_placingOrigin;
};

// Makes the control of a layout entry's type, its widget a child of `parent`.
std::unique_ptr<Control> createControl(ControlType type, QWidget *parent);

} // namespace widgets
