#include "shell/panelswitching.h"

#include "codegen/codeview.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/colour.h"

#include <array>

namespace shell {

using widgets::Colour;
using widgets::ControlRef;
using widgets::Prop;
using widgets::rgb;

namespace {

struct AccentScheme
{
    Colour background;
    Colour text;
};

// Blue while the design is live, grey while only the centre panel is.
constexpr AccentScheme BlueScheme{rgb(0, 122, 204), rgb(255, 255, 255)};
constexpr AccentScheme GreyScheme{rgb(231, 231, 231), rgb(128, 128, 128)};

// Text and background colour for each drawing state of a colour button: normal, pointer over or
// pressed, keyboard focus.
struct ButtonLook
{
    Colour normalText, normalBack, hotText, hotBack, focusText, focusBack;
};

constexpr ButtonLook Highlighted{rgb(255, 255, 255), rgb(0, 122, 204), rgb(255, 255, 255),
                                 rgb(0, 122, 204),   rgb(255, 255, 255), rgb(0, 122, 204)};
constexpr ButtonLook Plain{rgb(128, 128, 128), rgb(240, 240, 240), rgb(128, 128, 128),
                           rgb(231, 231, 231), rgb(128, 128, 128), rgb(240, 240, 240)};

// What each panel's button sets, the button itself first among the three.
struct PanelMode
{
    int page;
    bool toolsEnabled;
    std::array<ControlRef, 3> buttons;  // highlighted, then the two plain ones in this order
    AccentScheme scheme;
};

constexpr PanelMode WindowMode{ids::WindowPage, true,
                               {ids::WindowPanelButton, ids::CodePanelButton, ids::AboutPanelButton}, BlueScheme};
constexpr PanelMode CodeMode{ids::CodePage, false,
                             {ids::CodePanelButton, ids::AboutPanelButton, ids::WindowPanelButton}, GreyScheme};
constexpr PanelMode AboutMode{ids::AboutPage, false,
                              {ids::AboutPanelButton, ids::WindowPanelButton, ids::CodePanelButton}, GreyScheme};

void applyButtonLook(widgets::WidgetLayer &layer, const ControlRef &button, const ButtonLook &look)
{
    layer.writeProperty(button, Prop::NormalText, look.normalText);
    layer.writeProperty(button, Prop::NormalBack, look.normalBack);
    layer.writeProperty(button, Prop::HotText, look.hotText);
    layer.writeProperty(button, Prop::HotBack, look.hotBack);
    layer.writeProperty(button, Prop::FocusText, look.focusText);
    layer.writeProperty(button, Prop::FocusBack, look.focusBack);
}

// Everything after the code view's read-only state. The status bar's text stays as it is: it
// keeps the last message of the design surface or of start-up.
void applyMode(Designer &designer, const PanelMode &mode)
{
    widgets::WidgetLayer &layer = designer.layer;
    layer.writeProperty(ids::PanelContainer, Prop::CurrentPage, mode.page);

    for (const ControlRef &tool : {ids::Palette, ids::ComponentList, ids::PropertyGrid, ids::VerticalScrollBar,
                                   ids::HorizontalScrollBar})
        layer.writeProperty(tool, Prop::Disabled, !mode.toolsEnabled);

    applyButtonLook(layer, mode.buttons[0], Highlighted);
    applyButtonLook(layer, mode.buttons[1], Plain);
    applyButtonLook(layer, mode.buttons[2], Plain);

    for (Prop back : {Prop::MenuHeaderBackNormal, Prop::MenuHeaderBackPressed, Prop::MenuHeaderBackHot,
                      Prop::MenuHeaderBackSelected})
        layer.writeProperty(ids::Palette, back, mode.scheme.background);
    for (Prop text : {Prop::MenuHeaderTextNormal, Prop::MenuHeaderTextPressed, Prop::MenuHeaderTextHot,
                      Prop::MenuHeaderTextSelected})
        layer.writeProperty(ids::Palette, text, mode.scheme.text);

    layer.writeProperty(ids::PropertiesHeading, Prop::LabelTextColour, mode.scheme.text);
    layer.writeProperty(ids::PropertiesHeading, Prop::LabelBackColour, mode.scheme.background);

    layer.writeProperty(ids::StatusBar, Prop::LabelBackColour, mode.scheme.background);
    layer.writeProperty(ids::StatusBar, Prop::LabelTextColour, mode.scheme.text);
}

} // namespace

void showWindowPanel(Designer &designer)
{
    designer.layer.writeProperty(ids::CodeView, Prop::EditorReadOnly, true);
    applyMode(designer, WindowMode);
}

void showCodePanel(Designer &designer)
{
    // Leaves the code view read-only as its last step.
    codegen::showGeneratedCode(designer);
    applyMode(designer, CodeMode);
}

void showAboutPanel(Designer &designer)
{
    designer.layer.writeProperty(ids::CodeView, Prop::EditorReadOnly, true);
    applyMode(designer, AboutMode);
}

} // namespace shell
