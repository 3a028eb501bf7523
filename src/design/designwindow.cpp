#include "design/designwindow.h"

#include "design/designerstate.h"
#include "design/designwindowids.h"
#include "design/mainwindowids.h"
#include "design/placement.h"
#include "design/selection.h"
#include "model/propertydisplay.h"
#include "widgets/screenmetrics.h"
#include "widgets/textconversion.h"
#include "widgets/tklook/tklook.h"

namespace design {

using namespace widgets;

namespace {

constexpr QPoint PlaceInCanvas(20, 20);
constexpr QSize ClientSizeAtCreation(300, 200);
constexpr int CanvasMargin = 30;

void onCreated(design::DesignerState &designer)
{
    WidgetLayer &layer = designer.layer;
    const ControlRef window = ids::DesignWindow;
    layer.setParent(window, design::mainwindow::DesignCanvas);
    layer.moveControl(window, PlaceInCanvas.x(), PlaceInCanvas.y(), layer.readInteger(window, Prop::Width),
                      layer.readInteger(window, Prop::Height));
    const int frameWidth = layer.readInteger(window, Prop::Width) - layer.clientWidth(window);
    const int frameHeight = layer.readInteger(window, Prop::Height) - layer.clientHeight(window);
    layer.moveControl(window, std::nullopt, std::nullopt, frameWidth + ClientSizeAtCreation.width(),
                      frameHeight + ClientSizeAtCreation.height());
    layer.moveControl(design::mainwindow::DesignCanvas, std::nullopt, std::nullopt,
                      WidgetLayer::screenWidth() + frameWidth + CanvasMargin,
                      WidgetLayer::screenHeight() + frameHeight + CanvasMargin);
    layer.writeProperty(design::mainwindow::HorizontalScrollBar, Prop::ScrollMaximum,
                        layer.readInteger(design::mainwindow::DesignCanvas, Prop::Width));
    layer.writeProperty(design::mainwindow::VerticalScrollBar, Prop::ScrollMaximum,
                        layer.readInteger(design::mainwindow::DesignCanvas, Prop::Height));
}

// The design window stays where it is: a move, minimize or maximize is undone at once.
void onMoved(design::DesignerState &designer)
{
    WidgetLayer &layer = designer.layer;
    layer.writeProperty(ids::DesignWindow, Prop::WindowState, 0);
    layer.moveControl(ids::DesignWindow, PlaceInCanvas.x(), PlaceInCanvas.y());
}

void onResized(design::DesignerState &designer)
{
    WidgetLayer &layer = designer.layer;
    layer.writeProperty(design::mainwindow::StatusBar, Prop::LabelText,
                        QStringLiteral(" 窗口大小: ") + integerToText(layer.clientWidth(ids::DesignWindow))
                            + QLatin1Char(',') + integerToText(layer.clientHeight(ids::DesignWindow)));
    model::showProperties(designer);
}

void onPointerMoved(design::DesignerState &designer, int x, int y)
{
    designer.layer.writeProperty(design::mainwindow::StatusBar, Prop::LabelText,
                                 QStringLiteral(" 指针座标: ") + integerToText(x) + QLatin1Char(',')
                                     + integerToText(y));
}

FontValue templateFont()
{
    FontValue font;
    font.face = QStringLiteral("微软雅黑");
    font.height = heightForPoints(9, layoutDotsPerInch());
    return font;
}

ControlEntry templateEntry(const ControlRef &ref, const char *layoutName, QRect rect, QList<EventBinding> selects)
{
    ControlEntry entry;
    entry.id = ref.control;
    entry.layoutName = QString::fromUtf8(layoutName);
    entry.type = ref.type;
    entry.rect = rect;
    entry.visible = false;
    entry.disabled = true;
    entry.events = std::move(selects);
    // What the user places is drawn as Tk will draw the widget the generated program creates.
    entry.look.tkLook = true;
    return entry;
}

} // namespace

WindowLayout designWindowTable(design::DesignerState &designer)
{
    design::DesignerState *d = &designer;
    auto bind = [d](void (*handler)(design::DesignerState &)) { return plainHandler([d, handler] { handler(*d); }); };

    WindowLayout layout;
    WindowEntry &window = layout.window;
    window.id = ids::DesignWindowId;
    window.className = QStringLiteral("Kestrigan_DesignWindow");
    window.title = QString();
    window.position = QPoint(50, 50);
    window.size = QSize(300, 200);
    window.frame = WindowFrame::Drawn;
    // Tk places the program's widgets in screen pixels; the design's widgets cover the same ones.
    window.screenPixels = true;
    // The design window stands for the program's Tk root window: it shows its background, ring and
    // border, and places the widgets inside its internal border as Tk does. The grid and the code keep
    // the program's positions.
    window.background = fromQColor(tk::rootWindowBackground());
    window.tkLook = true;
    window.childOrigin = tk::rootWindowChildOrigin();
    window.events = {
        {Event::Created, bind(onCreated)},
        {Event::MayClose, [](const EventArgs &) { return false; }},
        {Event::PositionChanged, bind(onMoved)},
        {Event::SizeChanged, bind(onResized)},
        {Event::PointerMoved, [d](const EventArgs &args) {
             onPointerMoved(*d, args.value(0), args.value(1));
             return true;
         }},
        {Event::LeftButtonDown, [d](const EventArgs &args) {
             onDesignWindowPressed(*d, args.value(0), args.value(1));
             return true;
         }},
    };

    // The second press of a double click arrives as a double click, not as a press; it must select and
    // check like any press, or a double-clicked check box would end checked.
    const QList<EventBinding> onPress{{Event::LeftButtonDown, bind(selectPressedWidget)},
                                      {Event::LeftDoubleClick, bind(selectPressedWidget)}};
    const QList<EventBinding> onClick{{Event::Clicked, bind(selectPressedWidget)}};
    const FontValue font = templateFont();

    ControlEntry label = templateEntry(ids::LabelTemplate, "待用标签", {16, 16, 120, 20}, onPress);
    label.properties = {{Prop::LabelText, QStringLiteral("标签")}, {Prop::LabelFont, QVariant::fromValue(font)},
                        {Prop::LabelTextColour, rgb(0, 0, 0)}};
    label.look.alignment = Qt::AlignLeft | Qt::AlignVCenter;

    ControlEntry entry = templateEntry(ids::EntryTemplate, "待用编辑框", {16, 88, 120, 20}, onPress);
    entry.look.border = true;
    entry.properties = {{Prop::EntryText, QString()}, {Prop::EntryFont, QVariant::fromValue(font)}};

    ControlEntry button = templateEntry(ids::ButtonTemplate, "待用按钮", {16, 48, 88, 32}, onClick);
    button.properties = {{Prop::ButtonCaption, QStringLiteral("按钮")}, {Prop::ButtonFont, QVariant::fromValue(font)}};

    ControlEntry radio = templateEntry(ids::RadioButtonTemplate, "待用单选框", {160, 16, 120, 20}, onPress);
    radio.properties = {{Prop::CheckCaption, QStringLiteral("单选框")}, {Prop::CheckFont, QVariant::fromValue(font)},
                        {Prop::Checked, true}};

    ControlEntry check = templateEntry(ids::CheckButtonTemplate, "待用复选框", {160, 48, 120, 20}, onPress);
    check.properties = {{Prop::CheckCaption, QStringLiteral("复选框")}, {Prop::CheckFont, QVariant::fromValue(font)},
                        {Prop::Checked, false}};

    layout.controls = {label, entry, button, radio, check};
    return layout;
}

} // namespace design
