#include "shell/startup.h"

#include "codegen/codeview.h"
#include "design/designwindowids.h"
#include "design/pointertracking.h"
#include "model/propertydisplay.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "shell/mainwindowlayout.h"


namespace shell {

using widgets::Prop;

namespace {

// The window cannot be made smaller than it started or larger than the screen's available area.
// Qt has no tracking-size query; minimum and maximum sizes of the top-level widget do the same job.
void installSizeLimits(Designer &designer)
{
    const MainWindowLimits &limits = designer.limits;
    designer.layer.setSizeLimits(ids::MainWindow, QSize(limits.minWidth, limits.minHeight),
                                 QSize(limits.maxWidth, limits.maxHeight));
}

} // namespace

void onMainWindowCreated(Designer &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    if (!isSupported(designer.platformVersion(), minimumPlatformVersion())) {
        layer.messageBox(QStringLiteral("Kestrigan 无法在该系统运行"),
                         widgets::MessageBoxFlag::Ok | widgets::MessageBoxFlag::IconError, QStringLiteral("错误"));
        layer.endProgram(0);
    }

    layer.loadWindow(design::ids::DesignWindowId);
    layer.writeProperty(ids::Palette, Prop::MenuCurrentItem, 0);
    designer.model = model::DesignModel();
    // Read before the window is shown: its outer size is then its client size, as the table gives it.
    // The largest is the available area rather than the whole screen, so that a window dragged outward
    // stops where panels and docks begin instead of sliding beneath them.
    const QSize available = widgets::WidgetLayer::availableScreenSize();
    designer.limits = MainWindowLimits{layer.readInteger(ids::MainWindow, Prop::Width),
                                       layer.readInteger(ids::MainWindow, Prop::Height), available.width(),
                                       available.height()};
    installSizeLimits(designer);
    model::addListEntry(designer, QStringLiteral("窗口"));
    design::setUpPointerDevice(designer);
    codegen::setUpCodeView(designer);
    layer.setCellsReadOnly(ids::PropertyGrid, 1, 1, 1, 1, true);
    layer.writeProperty(ids::StatusBar, Prop::LabelText, QStringLiteral(" 初始化完毕"));
}

void layoutMainWindow(Designer &designer)
{
    widgets::WidgetLayer &layer = designer.layer;
    auto height = [&layer](const widgets::ControlRef &ref) { return layer.readInteger(ref, Prop::Height); };
    auto width = [&layer](const widgets::ControlRef &ref) { return layer.readInteger(ref, Prop::Width); };

    LayoutInput in;
    in.clientWidth = layer.clientWidth(ids::MainWindow);
    in.clientHeight = layer.clientHeight(ids::MainWindow);
    in.paletteWidth = width(ids::Palette);
    in.verticalBarWidth = width(ids::VerticalScrollBar);
    in.horizontalBarHeight = height(ids::HorizontalScrollBar);
    in.statusBarHeight = height(ids::StatusBar);
    in.panelButtonHeight = height(ids::WindowPanelButton);
    in.underlineHeight = height(ids::PanelUnderline);
    in.headingHeight = height(ids::PropertiesHeading);
    in.listHeight = height(ids::ComponentList);
    in.codeViewLeft = layer.readInteger(ids::CodeView, Prop::Left);
    for (const LayoutStep &step : mainWindowLayout(in))
        layer.moveControl(step.control, step.left, step.top, step.width, step.height);
}

} // namespace shell
