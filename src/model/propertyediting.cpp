#include "model/propertyediting.h"

#include "design/designerstate.h"
#include "design/designwindowids.h"
#include "design/mainwindowids.h"
#include "model/propertydisplay.h"
#include "model/propertyrows.h"
#include "widgets/textconversion.h"

#include <QScopedValueRollback>

#include <algorithm>
#include <limits>

namespace model {

using design::mainwindow::PropertyGrid;
using widgets::FontMember;
using widgets::Prop;
using widgets::WidgetLayer;

namespace {

int clampedPosition(const QString &text)
{
    return qBound(-widgets::PositionLimit, widgets::textToInteger(text), widgets::PositionLimit);
}

// True while applyPropertyEdits runs; writes to the design window redisplay the grid inside it.
bool applying = false;

int saturatedSum(int a, int b)
{
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The outer size that gives the typed client size: typed + (outer - client), both read now. A
// negative client size is taken as 0 first, as the widget layer takes a negative outer size: an
// outer size smaller than the frame would leave a window without its frame, which the user could
// no longer see or size with the mouse.
void writeWindowWidth(WidgetLayer &layer, int clientWidth)
{
    const widgets::ControlRef window = design::ids::DesignWindow;
    const int frame = layer.readInteger(window, Prop::Width) - layer.clientWidth(window);
    layer.writeProperty(window, Prop::Width, saturatedSum(qMax(0, clientWidth), frame));
}

void writeWindowHeight(WidgetLayer &layer, int clientHeight)
{
    const widgets::ControlRef window = design::ids::DesignWindow;
    const int frame = layer.readInteger(window, Prop::Height) - layer.clientHeight(window);
    layer.writeProperty(window, Prop::Height, saturatedSum(qMax(0, clientHeight), frame));
}

// Rows 3 and 4 only change the model: the design window stays where it is on the screen.
void writeWindow(design::DesignerState &designer, const QList<PropertyRow> &rows, const QStringList &values)
{
    WidgetLayer &layer = designer.layer;
    for (int i = 0; i < rows.size(); ++i) {
        const QString &text = values[i];
        switch (rows[i]) {
        case PropertyRow::Caption: layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, text); break;
        // The generated window is placed by the window system, which holds positions in 16 bits:
        // the window's position takes the same limits as a widget's, so the program shows what the grid does.
        case PropertyRow::Top: designer.model.windowTop = clampedPosition(text); break;
        case PropertyRow::Left: designer.model.windowLeft = clampedPosition(text); break;
        case PropertyRow::Width: writeWindowWidth(layer, widgets::textToInteger(text)); break;
        case PropertyRow::Height: writeWindowHeight(layer, widgets::textToInteger(text)); break;
        case PropertyRow::ClassName:
        case PropertyRow::FontFace:
        case PropertyRow::FontSize: break;
        }
    }
}

// Each value goes to the widget at once, so it moves or resizes with each write. The widget layer
// clamps positions and sizes and replaces an unusable face name.
void writeComponent(WidgetLayer &layer, const Component &component, const QList<PropertyRow> &rows,
                    const QStringList &values)
{
    const widgets::ControlRef &widget = component.widget;
    const auto caption = captionProperty(component.kind);
    const auto font = fontProperty(component.kind);
    for (int i = 0; i < rows.size(); ++i) {
        const QString &text = values[i];
        switch (rows[i]) {
        case PropertyRow::Caption:
            if (caption)
                layer.writeProperty(widget, *caption, text);
            break;
        case PropertyRow::Top: layer.writeProperty(widget, Prop::Top, widgets::textToInteger(text)); break;
        case PropertyRow::Left: layer.writeProperty(widget, Prop::Left, widgets::textToInteger(text)); break;
        case PropertyRow::Width: layer.writeProperty(widget, Prop::Width, widgets::textToInteger(text)); break;
        case PropertyRow::Height: layer.writeProperty(widget, Prop::Height, widgets::textToInteger(text)); break;
        case PropertyRow::FontFace:
            if (font)
                layer.writeProperty(widget, *font, text, int(FontMember::Face));
            break;
        case PropertyRow::FontSize:
            if (font)
                layer.writeProperty(widget, *font, qMax(0, widgets::textToInteger(text)), int(FontMember::Size));
            break;
        case PropertyRow::ClassName: break;
        }
    }
}

} // namespace

void applyPropertyEdits(design::DesignerState &designer)
{
    const QScopedValueRollback<bool> guard(applying, true);
    WidgetLayer &layer = designer.layer;

    // The values go to what the grid shows, which the last display recorded in shownComponent;
    // the class-name cell, which no edit can change, confirms it. A grid that shows something else
    // (nothing yet, say) gets nothing written: the redisplay below puts it right.
    const Component *component = designer.model.shown();
    const ComponentKind kind = component ? component->kind : ComponentKind::Window;
    const QString className = component ? component->className() : classWord(ComponentKind::Window);
    const QList<PropertyRow> rows = propertyRows(kind);
    const bool gridShowsTarget = layer.readInteger(PropertyGrid, Prop::GridRows) == rows.size() + 1
                                 && layer.cellText(PropertyGrid, 1, 1) == className;

    if (gridShowsTarget) {
        // All texts are taken before the first write: writing the design window's size redisplays
        // the grid at once, which would put back the old values of the rows still to come.
        QStringList values;
        for (int i = 0; i < rows.size(); ++i)
            values.append(layer.cellText(PropertyGrid, i + 1, 1));
        if (component)
            writeComponent(layer, *component, rows, values);
        else
            writeWindow(designer, rows, values);
    }
    showProperties(designer);
}

void finishPropertyEdit(design::DesignerState &designer)
{
    if (applying)
        return;
    designer.layer.finishGridEdit(PropertyGrid);
}

} // namespace model
