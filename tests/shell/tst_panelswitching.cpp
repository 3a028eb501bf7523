#include "support/placing.h"

#include "codegen/tkintergenerator.h"
#include "design/designwindowids.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "shell/panelswitching.h"
#include "widgets/colour.h"
#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/codeeditor/codeeditorwidget.h"

#include <QApplication>
#include <QtTest>

#include <memory>

using namespace shell;
using widgets::Colour;
using widgets::ControlRef;
using widgets::Prop;
using widgets::rgb;

namespace {

constexpr Colour Blue = rgb(0, 122, 204);
constexpr Colour White = rgb(255, 255, 255);
constexpr Colour Grey = rgb(128, 128, 128);
constexpr Colour LightGrey = rgb(231, 231, 231);
constexpr Colour ButtonFace = rgb(240, 240, 240);

enum class Panel { Window, Code, About };

const ControlRef DesignTools[] = {ids::Palette, ids::ComponentList, ids::PropertyGrid, ids::VerticalScrollBar,
                                  ids::HorizontalScrollBar};

ControlRef buttonOf(Panel panel)
{
    switch (panel) {
    case Panel::Window: return ids::WindowPanelButton;
    case Panel::Code: return ids::CodePanelButton;
    case Panel::About: break;
    }
    return ids::AboutPanelButton;
}

int pageOf(Panel panel)
{
    switch (panel) {
    case Panel::Window: return ids::WindowPage;
    case Panel::Code: return ids::CodePage;
    case Panel::About: break;
    }
    return ids::AboutPage;
}

// The six state colours of a colour button: normal, pointer over or pressed, focus; text then back.
QList<Colour> buttonColours(const widgets::WidgetLayer &layer, const ControlRef &button)
{
    QList<Colour> colours;
    for (Prop p : {Prop::NormalText, Prop::NormalBack, Prop::HotText, Prop::HotBack, Prop::FocusText, Prop::FocusBack})
        colours << layer.readProperty(button, p).value<Colour>();
    return colours;
}

const QList<Colour> Highlighted{White, Blue, White, Blue, White, Blue};
const QList<Colour> Plain{Grey, ButtonFace, Grey, LightGrey, Grey, ButtonFace};

} // namespace

Q_DECLARE_METATYPE(Panel)
Q_DECLARE_METATYPE(QList<Panel>)

class tst_PanelSwitching : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void modeAfterClicks_data();
    void modeAfterClicks();
    void centreShowsOnlyTheCurrentPanel_data();
    void centreShowsOnlyTheCurrentPanel();
    void disabledToolsIgnoreTheMouse();
    void statusTextAndListAreLeftAlone();
    void codeButtonRegeneratesEveryTime();
    void codeViewKeepsItsTextOnOtherPanels();
    void codeButtonKeepsTheShownComponent();
    void switchesBeforeTheCodePanelQueueNothingMore_data();
    void switchesBeforeTheCodePanelQueueNothingMore();

private:
    void click(Panel panel);
    QString codeViewText() const;

    std::unique_ptr<Designer> m_designer;
};

void tst_PanelSwitching::init()
{
    m_designer = std::make_unique<Designer>([] { return PlatformVersion{6, 1}; });
    m_designer->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(ids::MainWindow)));
}

void tst_PanelSwitching::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_PanelSwitching::click(Panel panel)
{
    QWidget *button = m_designer->layer.widget(buttonOf(panel));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

QString tst_PanelSwitching::codeViewText() const
{
    QWidget *editor = dynamic_cast<widgets::CodeEditorControl *>(m_designer->layer.control(ids::CodeView))->editor();
    return qobject_cast<widgets::CodeEditorWidget *>(editor)->text();
}

void tst_PanelSwitching::modeAfterClicks_data()
{
    QTest::addColumn<QList<Panel>>("clicks");
    QTest::addColumn<Panel>("mode");
    QTest::newRow("start-up is the window mode") << QList<Panel>{} << Panel::Window;
    QTest::newRow("code") << QList<Panel>{Panel::Code} << Panel::Code;
    QTest::newRow("about") << QList<Panel>{Panel::About} << Panel::About;
    QTest::newRow("window while in window mode") << QList<Panel>{Panel::Window} << Panel::Window;
    QTest::newRow("code then window") << QList<Panel>{Panel::Code, Panel::Window} << Panel::Window;
    QTest::newRow("about then window") << QList<Panel>{Panel::About, Panel::Window} << Panel::Window;
    QTest::newRow("code then about") << QList<Panel>{Panel::Code, Panel::About} << Panel::About;
    QTest::newRow("about then code") << QList<Panel>{Panel::About, Panel::Code} << Panel::Code;
    QTest::newRow("code twice") << QList<Panel>{Panel::Code, Panel::Code} << Panel::Code;
    QTest::newRow("about twice") << QList<Panel>{Panel::About, Panel::About} << Panel::About;
    QTest::newRow("round trip") << QList<Panel>{Panel::About, Panel::Code, Panel::Window, Panel::About, Panel::Window}
                                << Panel::Window;
}

// Each button sets the whole mode, whatever the mode before.
void tst_PanelSwitching::modeAfterClicks()
{
    QFETCH(QList<Panel>, clicks);
    QFETCH(Panel, mode);
    for (Panel panel : clicks)
        click(panel);

    const widgets::WidgetLayer &layer = m_designer->layer;
    const bool windowMode = mode == Panel::Window;
    const Colour accentBack = windowMode ? Blue : LightGrey;
    const Colour accentText = windowMode ? White : Grey;

    QCOMPARE(layer.readBoolean(ids::CodeView, Prop::EditorReadOnly), true);
    QCOMPARE(layer.readInteger(ids::PanelContainer, Prop::CurrentPage), pageOf(mode));
    for (const ControlRef &tool : DesignTools) {
        QCOMPARE(layer.readBoolean(tool, Prop::Disabled), !windowMode);
        QCOMPARE(layer.widget(tool)->isEnabled(), windowMode);
    }
    for (Panel panel : {Panel::Window, Panel::Code, Panel::About})
        QCOMPARE(buttonColours(layer, buttonOf(panel)), panel == mode ? Highlighted : Plain);
    for (Prop back : {Prop::MenuHeaderBackNormal, Prop::MenuHeaderBackPressed, Prop::MenuHeaderBackHot,
                      Prop::MenuHeaderBackSelected})
        QCOMPARE(layer.readProperty(ids::Palette, back).value<Colour>(), accentBack);
    for (Prop text : {Prop::MenuHeaderTextNormal, Prop::MenuHeaderTextPressed, Prop::MenuHeaderTextHot,
                      Prop::MenuHeaderTextSelected})
        QCOMPARE(layer.readProperty(ids::Palette, text).value<Colour>(), accentText);
    QCOMPARE(layer.readProperty(ids::PropertiesHeading, Prop::LabelTextColour).value<Colour>(), accentText);
    QCOMPARE(layer.readProperty(ids::PropertiesHeading, Prop::LabelBackColour).value<Colour>(), accentBack);
    QCOMPARE(layer.readProperty(ids::StatusBar, Prop::LabelTextColour).value<Colour>(), accentText);
    QCOMPARE(layer.readProperty(ids::StatusBar, Prop::LabelBackColour).value<Colour>(), accentBack);
}

void tst_PanelSwitching::centreShowsOnlyTheCurrentPanel_data()
{
    QTest::addColumn<Panel>("panel");
    QTest::newRow("window") << Panel::Window;
    QTest::newRow("code") << Panel::Code;
    QTest::newRow("about") << Panel::About;
}

void tst_PanelSwitching::centreShowsOnlyTheCurrentPanel()
{
    QFETCH(Panel, panel);
    if (panel != Panel::Window)
        click(panel == Panel::Code ? Panel::About : Panel::Code);
    click(panel);
    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(layer.widget(ids::DesignCanvas)->isVisible(), panel == Panel::Window);
    QCOMPARE(layer.widget(design::ids::DesignWindow)->isVisible(), panel == Panel::Window);
    QCOMPARE(layer.widget(ids::CodeView)->isVisible(), panel == Panel::Code);
    for (const ControlRef &label : {ids::TitleLabel, ids::IntroductionLabel, ids::VersionLabel, ids::DisclaimerLabel,
                                    ids::ContactLabel, ids::CopyrightLabel})
        QCOMPARE(layer.widget(label)->isVisible(), panel == Panel::About);
}

void tst_PanelSwitching::disabledToolsIgnoreTheMouse()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    click(Panel::About);
    QWidget *bar = layer.widget(ids::VerticalScrollBar);
    const int position = layer.readInteger(ids::VerticalScrollBar, Prop::ScrollPosition);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    QCOMPARE(layer.readInteger(ids::VerticalScrollBar, Prop::ScrollPosition), position);

    click(Panel::Window);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    QVERIFY(layer.readInteger(ids::VerticalScrollBar, Prop::ScrollPosition) != position);
}

void tst_PanelSwitching::statusTextAndListAreLeftAlone()
{
    Designer &d = *m_designer;
    testsupport::place(d, model::ComponentKind::Label, 16, 16);
    d.layer.writeProperty(ids::StatusBar, Prop::LabelText, QStringLiteral(" 指针座标: 3,4"));
    d.layer.writeProperty(ids::Palette, Prop::MenuCurrentItem, 2);
    for (Panel panel : {Panel::Code, Panel::About, Panel::Window}) {
        click(panel);
        QCOMPARE(d.layer.readText(ids::StatusBar, Prop::LabelText), QStringLiteral(" 指针座标: 3,4"));
        QCOMPARE(d.layer.readInteger(ids::Palette, Prop::MenuCurrentItem), 2);
        QCOMPARE(d.layer.listCount(ids::ComponentList), 2);
        QCOMPARE(d.layer.readInteger(ids::ComponentList, Prop::ListSelection), 1);
    }
}

void tst_PanelSwitching::codeButtonRegeneratesEveryTime()
{
    Designer &d = *m_designer;
    testsupport::place(d, model::ComponentKind::Label, 16, 16);
    click(Panel::Code);
    const QString first = codegen::generate(d.model, d.layer);
    QCOMPARE(codeViewText(), first);

    click(Panel::Window);
    testsupport::place(d, model::ComponentKind::Button, 40, 40);
    click(Panel::Code);
    const QString second = codegen::generate(d.model, d.layer);
    QVERIFY(second.contains(QStringLiteral("Button2 = Button(")));
    QCOMPARE(codeViewText(), second);

    // Pressed again in code mode, with a change made meanwhile through the model.
    d.model.windowLeft = -20;
    click(Panel::Code);
    QVERIFY(codeViewText().contains(QStringLiteral("+-20+100')")));
}

void tst_PanelSwitching::codeViewKeepsItsTextOnOtherPanels()
{
    Designer &d = *m_designer;
    testsupport::place(d, model::ComponentKind::Entry, 16, 16);
    click(Panel::Code);
    const QString shown = codeViewText();
    QVERIFY(shown.contains(QStringLiteral("Entry1")));

    // A change on the design is not shown until the next press of the code button.
    click(Panel::Window);
    testsupport::place(d, model::ComponentKind::CheckButton, 30, 30);
    QCOMPARE(codeViewText(), shown);
    click(Panel::About);
    QCOMPARE(codeViewText(), shown);
}

void tst_PanelSwitching::codeButtonKeepsTheShownComponent()
{
    Designer &d = *m_designer;
    testsupport::place(d, model::ComponentKind::Label, 16, 16);
    testsupport::place(d, model::ComponentKind::Button, 40, 40);
    const std::optional<int> shown = d.model.shownComponent;
    click(Panel::Code);
    click(Panel::Window);
    QCOMPARE(d.model.shownComponent, shown);
}

void tst_PanelSwitching::switchesBeforeTheCodePanelQueueNothingMore_data()
{
    QTest::addColumn<QList<Panel>>("round");
    QTest::newRow("window again and again") << QList<Panel>{Panel::Window};
    QTest::newRow("about again and again") << QList<Panel>{Panel::About};
    QTest::newRow("about and window in turn") << QList<Panel>{Panel::About, Panel::Window};
}

// Until the code panel is first shown its editor is not made, and what is sent to it waits; every
// switch sets the view read-only again, which must not pile up for the rest of the run.
void tst_PanelSwitching::switchesBeforeTheCodePanelQueueNothingMore()
{
    QFETCH(QList<Panel>, round);
    widgets::WidgetLayer &layer = m_designer->layer;
    const auto *control = dynamic_cast<widgets::CodeEditorControl *>(layer.control(ids::CodeView));
    const std::size_t waiting = control->pendingSettings();
    for (int n = 0; n < 200; ++n) {
        for (Panel panel : round)
            click(panel);
    }
    QVERIFY(!layer.widget(ids::CodeView)->findChild<widgets::CodeEditorWidget *>());
    QCOMPARE(control->pendingSettings(), waiting);

    // The editor made at last ends as the start-up set it up, and read-only.
    click(Panel::Code);
    QCOMPARE(control->pendingSettings(), std::size_t(0));
    QCOMPARE(codeViewText(), codegen::generate(m_designer->model, layer));
    QCOMPARE(layer.readBoolean(ids::CodeView, Prop::EditorReadOnly), true);
    using Sci = QsciScintillaBase;
    QCOMPARE(layer.sendScintilla(ids::CodeView, Sci::SCI_GETLEXER), long(Sci::SCLEX_PYTHON));
    QCOMPARE(layer.sendScintilla(ids::CodeView, Sci::SCI_STYLEGETFORE, Sci::STYLE_LINENUMBER),
             long(rgb(128, 128, 128)));
    QCOMPARE(layer.sendScintilla(ids::CodeView, Sci::SCI_GETMARGINWIDTHN, 1), 0L);
    QCOMPARE(layer.sendScintilla(ids::CodeView, Sci::SCI_GETCODEPAGE), long(Sci::SC_CP_UTF8));
}

QTEST_MAIN(tst_PanelSwitching)
#include "tst_panelswitching.moc"
