#include "shell/mainwindowtable.h"

#include "codegen/codeview.h"
#include "design/placement.h"
#include "design/pointertracking.h"
#include "design/scrolling.h"
#include "model/propertydisplay.h"
#include "model/propertyediting.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "shell/panelswitching.h"
#include "shell/startup.h"
#include "widgets/screenmetrics.h"

namespace shell {

using namespace widgets;

namespace {

constexpr Colour Blue = rgb(0, 122, 204);
constexpr Colour White = rgb(255, 255, 255);
constexpr Colour Black = rgb(0, 0, 0);
constexpr Colour Grey = rgb(128, 128, 128);
constexpr Colour ButtonFace = rgb(240, 240, 240);
constexpr Colour ButtonHot = rgb(231, 231, 231);
constexpr Colour Rule = rgb(236, 236, 236);

FontValue uiFont(int points)
{
    FontValue font;
    font.face = QStringLiteral("微软雅黑");
    font.height = heightForPoints(points, layoutDotsPerInch());
    return font;
}

ControlEntry entry(const ControlRef &ref, const char *layoutName, QRect rect)
{
    ControlEntry made;
    made.id = ref.control;
    made.layoutName = QString::fromUtf8(layoutName);
    made.type = ref.type;
    made.rect = rect;
    return made;
}

ControlEntry panelButton(const ControlRef &ref, const char *layoutName, QRect rect, const char *caption,
                         bool highlighted, EventHandler onClick)
{
    ControlEntry button = entry(ref, layoutName, rect);
    button.tabStop = true;
    button.font = uiFont(9);
    const Colour text = highlighted ? White : Grey;
    button.properties = {{Prop::ButtonCaption, QString::fromUtf8(caption)},
                         {Prop::NormalText, text}, {Prop::NormalBack, highlighted ? Blue : ButtonFace},
                         {Prop::HotText, text}, {Prop::HotBack, highlighted ? Blue : ButtonHot},
                         {Prop::FocusText, text}, {Prop::FocusBack, highlighted ? Blue : ButtonFace}};
    button.events = {{Event::Clicked, std::move(onClick)}};
    return button;
}

// A label of the window: inert, its colours and font fixed by the table.
ControlEntry label(const ControlRef &ref, const char *layoutName, QRect rect, const QString &text, int points,
                   Colour textColour, Colour background)
{
    ControlEntry made = entry(ref, layoutName, rect);
    made.disabled = true;
    made.properties = {{Prop::LabelText, text}, {Prop::LabelFont, QVariant::fromValue(uiFont(points))},
                       {Prop::LabelTextColour, textColour}, {Prop::LabelBackColour, background}};
    return made;
}

ControlEntry aboutLabel(const ControlRef &ref, const char *layoutName, QRect rect, const QString &text,
                        int points, Colour textColour, bool wordWrap)
{
    ControlEntry made = label(ref, layoutName, rect, text, points, textColour, White);
    made.parent = ids::PanelContainer.control;
    made.page = ids::AboutPage;
    made.look.wordWrap = wordWrap;
    made.look.alignment = wordWrap ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter;
    return made;
}

ControlEntry scrollBar(const ControlRef &ref, const char *layoutName, QRect rect, EventHandler onScroll)
{
    ControlEntry bar = entry(ref, layoutName, rect);
    bar.look.minimum = 0;
    bar.look.lineStep = 1;
    bar.look.pageStep = 1;
    bar.properties = {{Prop::ScrollMaximum, 0}, {Prop::ScrollPosition, 0}};
    bar.events = {{Event::ScrollChanged, std::move(onScroll)}};
    return bar;
}

} // namespace

WindowLayout mainWindowTable(Designer &designer)
{
    Designer *d = &designer;
    // Shell handlers take the whole designer, the others the state they work on.
    auto bind = [d](auto handler) { return plainHandler([d, handler] { handler(*d); }); };

    WindowLayout layout;
    WindowEntry &window = layout.window;
    window.id = ids::MainWindowId;
    window.className = QStringLiteral("Kestrigan_MainWindow");
    window.title = QStringLiteral("Kestrigan 1.2.6.0");
    window.position = QPoint(50, 50);
    window.size = QSize(800, 548);
    window.centred = true;
    window.background = ButtonFace;
    window.events = {{Event::Created, bind(onMainWindowCreated)}, {Event::SizeChanged, bind(layoutMainWindow)}};

    std::vector<ControlEntry> &controls = layout.controls;

    ControlEntry palette = entry(ids::Palette, "卷帘式菜单", {0, 0, 128, 496});
    palette.tabStop = true;
    palette.font = uiFont(9);
    palette.look.groupTitle = QStringLiteral("窗口组件");
    palette.look.items = {QStringLiteral("指针"), QStringLiteral("标签"), QStringLiteral("编辑框"),
                          QStringLiteral("按钮"), QStringLiteral("单选框"), QStringLiteral("复选框")};
    palette.look.background = White;
    palette.look.menuItemText = Black;
    palette.look.menuItemHotText = rgb(192, 192, 192);
    palette.look.menuItemSelectedText = Grey;
    palette.look.menuBorder = Rule;
    for (Prop back : {Prop::MenuHeaderBackNormal, Prop::MenuHeaderBackPressed, Prop::MenuHeaderBackHot,
                      Prop::MenuHeaderBackSelected})
        palette.properties.append({back, Blue});
    for (Prop text : {Prop::MenuHeaderTextNormal, Prop::MenuHeaderTextPressed, Prop::MenuHeaderTextHot,
                      Prop::MenuHeaderTextSelected})
        palette.properties.append({text, White});
    palette.properties.append({Prop::MenuCurrentItem, 0});
    palette.events = {{Event::SelectionChanged, bind(design::onPaletteChosen)},
                      {Event::ItemDropped, bind(design::onPaletteItemDropped)}};
    controls.push_back(palette);

    controls.push_back(panelButton(ids::WindowPanelButton, "窗口按钮", {128, 1, 80, 21}, "窗口", true,
                                   bind(showWindowPanel)));
    controls.push_back(panelButton(ids::CodePanelButton, "代码按钮", {208, 1, 80, 21}, "代码", false,
                                   bind(showCodePanel)));
    controls.push_back(panelButton(ids::AboutPanelButton, "关于按钮", {288, 1, 80, 21}, "关于", false,
                                   bind(showAboutPanel)));

    ControlEntry underline = entry(ids::PanelUnderline, "边框外形框", {128, 22, 488, 2});
    underline.disabled = true;
    underline.look.fill = Blue;
    underline.look.outline = Blue;
    underline.look.outlineWidth = 1;
    controls.push_back(underline);

    ControlEntry container = entry(ids::PanelContainer, "选择夹", {128, 24, 472, 456});
    container.look.pageCount = 3;
    container.look.background = White;
    container.properties = {{Prop::CurrentPage, ids::WindowPage}};
    controls.push_back(container);

    ControlEntry canvas = entry(ids::DesignCanvas, "外形框", {0, 0, 468, 434});
    canvas.parent = ids::PanelContainer.control;
    canvas.page = ids::WindowPage;
    canvas.look.fill = White;
    canvas.look.outline = White;
    canvas.look.outlineWidth = 1;
    // The design window sits on it, and its size and scrolling follow the design, in screen pixels.
    canvas.screenPixels = true;
    controls.push_back(canvas);

    ControlEntry codeView = entry(ids::CodeView, "代码编辑框", {0, 0, 470, 432});
    codeView.parent = ids::PanelContainer.control;
    codeView.page = ids::CodePage;
    codeView.tabStop = true;
    codeView.accessibleName = QStringLiteral("代码");
    codeView.events = {{Event::EditorUpdated, bind(codegen::fitLineNumberMargin)}};
    controls.push_back(codeView);

    controls.push_back(aboutLabel(ids::TitleLabel, "标题标签", {32, 32, 312, 24}, QStringLiteral("Kestrigan"), 12,
                                  Black, false));
    controls.push_back(aboutLabel(ids::IntroductionLabel, "介绍标签", {32, 64, 312, 16},
                                  QStringLiteral("适用于 Python 3 的 Tkinter 窗口设计工具"), 9, Black, false));
    controls.push_back(aboutLabel(ids::VersionLabel, "版本标签", {32, 96, 312, 40},
                                  QStringLiteral("设计器版本：1.2.6.0\r\n解释器版本：1.0.6.0"), 9, Grey, true));
    controls.push_back(aboutLabel(ids::DisclaimerLabel, "警告标签", {32, 160, 312, 40},
                                  QStringLiteral("本程序仅供学习交流之用，禁止用于商业等非法用途，出现的任何后果作者概不负责"),
                                  9, rgb(128, 0, 0), true));
    controls.push_back(aboutLabel(ids::ContactLabel, "联系标签", {32, 208, 312, 40},
                                  QStringLiteral("项目：Kestrigan，一个开源的 Tkinter 窗口设计工具\r\n"
                                                 "反馈：欢迎在项目的问题列表中提出建议和错误报告"),
                                  9, Black, true));
    controls.push_back(aboutLabel(ids::CopyrightLabel, "版权标签", {32, 256, 312, 16},
                                  QStringLiteral("Copyright © 2026 Kestrigan 的作者们"), 9, Black, false));

    controls.push_back(scrollBar(ids::HorizontalScrollBar, "横向滚动条", {128, 480, 472, 15},
                                 bind(design::onHorizontalScroll)));
    controls.push_back(scrollBar(ids::VerticalScrollBar, "纵向滚动条", {600, 24, 15, 456},
                                 bind(design::onVerticalScroll)));

    ControlEntry heading = label(ids::PropertiesHeading, "组件标签", {616, 1, 176, 23}, QStringLiteral("组件属性"), 9,
                                 White, Blue);
    heading.look.alignment = Qt::AlignCenter;
    controls.push_back(heading);

    ControlEntry list = entry(ids::ComponentList, "组件框", {616, 32, 178, 25});
    list.tabStop = true;
    list.font = uiFont(9);
    list.accessibleName = QStringLiteral("组件");
    list.look.background = White;
    list.events = {{Event::SelectionChanged, bind(model::showProperties)}};
    controls.push_back(list);

    ControlEntry grid = entry(ids::PropertyGrid, "高级表格", {616, 64, 178, 434});
    grid.tabStop = true;
    grid.font = uiFont(9);
    grid.accessibleName = QStringLiteral("组件属性");
    grid.look.gridLines = Rule;
    grid.look.fixedRows = 1;
    grid.look.fixedColumns = 1;
    grid.look.defaultRowHeight = 26;
    grid.look.background = White;
    grid.properties = {{Prop::GridRows, 1}, {Prop::GridColumns, 2}};
    grid.events = {{Event::EditEnded, bind(model::applyPropertyEdits)}};
    controls.push_back(grid);

    controls.push_back(label(ids::StatusBar, "状态条", {0, 496, 800, 24}, QString(), 9, White, Blue));

    ControlEntry device = entry(ids::InputDevice, "输入设备", {8, 456, 32, 32});
    device.visible = false;
    device.events = {{Event::ButtonChanged, [d](const EventArgs &args) {
                          design::onButtonChanged(*d, args.value(0), args.value(1));
                          return true;
                      }},
                     {Event::DeviceMoved, bind(design::onPointerMoved)}};
    controls.push_back(device);

    return layout;
}

} // namespace shell
