#pragma once

#include "model/componentkind.h"
#include "widgets/controlref.h"

#include <QList>
#include <QSet>
#include <QString>

#include <deque>
#include <optional>

namespace widgets {
class WidgetLayer;
}

namespace model {

// One placed widget. Its visible properties live in the widget; the record holds what the widget cannot.
struct Component
{
    ComponentKind kind = ComponentKind::Label;
    int number = 0;              // 1, 2, 3 ... over all kinds, in placement order; never reused
    widgets::ControlRef widget;  // owned by the design window

    // "3.按钮": the component's entry in the component list.
    QString entryText() const;
    // "Button3": the grid's class name and the variable of the generated program.
    QString className() const;
};

// The design: numbering, the placed components, the window's position values, and what the grid shows.
class DesignModel
{
public:
    int windowLeft = 100;
    int windowTop = 100;
    int lastNumber = 0;
    // Component n at position n - 1. A deque, so that the reference addComponent returns stays
    // valid while later placements append.
    std::deque<Component> components;
    std::optional<int> shownComponent;      // number of the component the grid shows; none for the window
    // Native handles of widgets that may be dragged. Only membership is asked, so a set: a list that
    // grew on every redisplay would grow without bound while the user drags.
    QSet<quintptr> shownHandles;

    // Numbers the new widget, writes the number into its tag and records it. The kind is a widget
    // kind, never Window.
    const Component &addComponent(widgets::WidgetLayer &layer, ComponentKind kind, const widgets::ControlRef &widget);

    // The component numbered n, or none when n is not between 1 and lastNumber.
    const Component *componentByNumber(int number) const;
    // The numbers of the components of one kind, in placement order.
    QList<int> numbersOfKind(ComponentKind kind) const;
    // The component the grid shows, or none when it shows the window.
    const Component *shown() const { return shownComponent ? componentByNumber(*shownComponent) : nullptr; }
};

// The kind whose word the entry text contains, or none (an empty text gives none).
std::optional<ComponentKind> kindOfEntry(const QString &entry);
// The number before the entry's first full stop, read by the text-to-integer rule.
int numberOfEntry(const QString &entry);

} // namespace model
