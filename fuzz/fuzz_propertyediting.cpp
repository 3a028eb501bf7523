// Property editing: the window and a placed widget of each kind receive arbitrary cell texts through
// applyPropertyEdits, the function the grid's edit-ended notification runs. Afterwards every value
// lies in its clamped range, the widget took exactly what the rules make of the text, and the grid
// shows what the widget and the model really hold.

#include "fuzzapplication.h"
#include "fuzzinput.h"

#include "design/designwindowids.h"
#include "model/propertydisplay.h"
#include "model/propertyediting.h"
#include "model/propertyrows.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "support/placing.h"
#include "widgets/fontvalue.h"
#include "widgets/textconversion.h"

#include <memory>

namespace {

using model::ComponentKind;
using model::PropertyRow;
using shell::ids::PropertyGrid;
using widgets::Prop;

shell::Designer *designer = nullptr;

void expect(bool ok, const char *what, const QString &text = {})
{
    if (!ok)
        qFatal("property editing: %s (typed \"%s\")", what, qPrintable(text.left(80).toHtmlEscaped()));
}

int clamped(const QString &text, int low, int high)
{
    return qBound(low, widgets::textToInteger(text), high);
}

// The value the grid would show for the row, read from the widget or the model now.
void checkComponent(const model::Component &component, PropertyRow row, const QString &typed, const QString &shown)
{
    const widgets::WidgetLayer &layer = designer->layer;
    const widgets::ControlRef &widget = component.widget;
    const auto font = model::fontProperty(component.kind);
    const int P = widgets::PositionLimit;
    const int S = widgets::SizeLimit;
    switch (row) {
    case PropertyRow::ClassName: expect(shown == component.className(), "class name", typed); return;
    case PropertyRow::Caption:
        expect(layer.readText(widget, *model::captionProperty(component.kind)) == typed, "caption as typed", typed);
        break;
    case PropertyRow::Top: expect(layer.readInteger(widget, Prop::Top) == clamped(typed, -P, P), "top", typed); break;
    case PropertyRow::Left: expect(layer.readInteger(widget, Prop::Left) == clamped(typed, -P, P), "left", typed); break;
    case PropertyRow::Width: expect(layer.readInteger(widget, Prop::Width) == clamped(typed, 0, S), "width", typed); break;
    case PropertyRow::Height: expect(layer.readInteger(widget, Prop::Height) == clamped(typed, 0, S), "height", typed); break;
    case PropertyRow::FontFace:
        expect(layer.readText(widget, *font, int(widgets::FontMember::Face)) == widgets::acceptedFace(typed), "face", typed);
        break;
    case PropertyRow::FontSize: {
        const int size = layer.readInteger(widget, *font, int(widgets::FontMember::Size));
        expect(size >= 0, "font size not negative", typed);
        // Sizes beyond what Tk can draw on the screen come back as the largest it can.
        const int typedSize = qMax(0, widgets::textToInteger(typed));
        expect(size == qMin(typedSize, fuzzing::LargestPoints), "font size as typed", typed);
        break;
    }
    }
}

void checkWindow(PropertyRow row, const QString &typed)
{
    const widgets::WidgetLayer &layer = designer->layer;
    const widgets::ControlRef window = design::ids::DesignWindow;
    const int P = widgets::PositionLimit;
    switch (row) {
    case PropertyRow::Caption: expect(layer.readText(window, Prop::WindowTitle) == typed, "title as typed", typed); break;
    case PropertyRow::Top: expect(designer->model.windowTop == clamped(typed, -P, P), "window top", typed); break;
    case PropertyRow::Left: expect(designer->model.windowLeft == clamped(typed, -P, P), "window left", typed); break;
    // The outer size holds the client size and the frame, and stops at the size limit; the client is
    // at least Tk's smallest window, one pixel each way.
    case PropertyRow::Width: {
        const int frame = layer.readInteger(window, Prop::Width) - layer.clientWidth(window);
        expect(layer.clientWidth(window) == qMin(clamped(typed, 1, widgets::SizeLimit), widgets::SizeLimit - frame),
               "window width", typed);
        break;
    }
    case PropertyRow::Height: {
        const int frame = layer.readInteger(window, Prop::Height) - layer.clientHeight(window);
        expect(layer.clientHeight(window) == qMin(clamped(typed, 1, widgets::SizeLimit), widgets::SizeLimit - frame),
               "window height", typed);
        break;
    }
    default: break;
    }
}

// Texts as a user types them, or the fuzzer's own.
QString cellText(fuzzing::FuzzInput &input)
{
    switch (input.choice(6)) {
    case 0: return widgets::integerToText(input.integer());
    case 1: return QString(input.byte() * 400 + 1, QChar(char16_t(0xFF10 + input.choice(10))));   // up to 100,000 full-width digits
    case 2: return QStringLiteral("-");
    default: return input.text();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::application();
    designer = new shell::Designer([] { return shell::PlatformVersion{6, 1}; });
    designer->start();
    for (ComponentKind kind : model::WidgetKinds)
        testsupport::place(*designer, kind);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::FuzzInput input(data, size);
    widgets::WidgetLayer &layer = designer->layer;

    // Entry 0 is the window, entry n component n.
    const int entry = input.choice(int(designer->model.components.size()) + 1);
    model::selectListEntry(*designer, entry);
    const model::Component *component = entry == 0 ? nullptr : designer->model.componentByNumber(entry);
    const QList<PropertyRow> rows = model::propertyRows(component ? component->kind : ComponentKind::Window);

    QStringList typed;
    for (int i = 0; i < rows.size(); ++i) {
        QString text = layer.cellText(PropertyGrid, i + 1, 1);
        if (rows[i] != PropertyRow::ClassName && (input.byte() & 1)) {
            text = cellText(input);
            layer.setCellText(PropertyGrid, i + 1, 1, text);
        }
        typed.append(text);
    }
    model::applyPropertyEdits(*designer);

    for (int i = 0; i < rows.size(); ++i) {
        const QString shown = layer.cellText(PropertyGrid, i + 1, 1);
        if (component)
            checkComponent(*component, rows[i], typed[i], shown);
        else
            checkWindow(rows[i], typed[i]);
    }
    // The grid shows the real values afterwards: a fresh display changes none of its cells.
    QStringList before;
    for (int i = 0; i < rows.size(); ++i)
        before.append(layer.cellText(PropertyGrid, i + 1, 1));
    model::showProperties(*designer);
    for (int i = 0; i < rows.size(); ++i)
        expect(layer.cellText(PropertyGrid, i + 1, 1) == before[i], "the grid shows the real values", before[i]);
    return 0;
}
