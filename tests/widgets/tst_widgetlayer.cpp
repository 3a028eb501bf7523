#include "support/messageboxes.h"
#include "widgets/widgetlayer.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QtTest>

using namespace widgets;

namespace {

constexpr int TestWindow = 7;
constexpr ControlRef Window = windowRef(TestWindow);
constexpr ControlRef Caption{TestWindow, 1, ControlType::Label};
constexpr ControlRef Template{TestWindow, 2, ControlType::Label};
constexpr ControlRef Button{TestWindow, 3, ControlType::PushButton};
constexpr ControlRef Other{TestWindow, 4, ControlType::Label};

ControlEntry labelEntry(const ControlRef &ref, QRect rect)
{
    ControlEntry entry;
    entry.id = ref.control;
    entry.type = ref.type;
    entry.rect = rect;
    entry.properties = {{Prop::LabelText, QStringLiteral("text %1").arg(ref.control)}};
    return entry;
}

// Environment variable that makes this executable meet a fatal fault instead of running the tests.
constexpr char FatalFaultRun[] = "KESTRIGAN_TEST_FATAL_FAULT";

// Looks for a tag nobody carries. When the fault's message box appears, reports it and dismisses it;
// the layer must then end the process without running anything after the fault.
int runIntoFatalFault(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTimer watcher;
    testsupport::reportAndDismissMessageBoxes(watcher);
    WidgetLayer layer;
    WindowLayout layout;
    layout.window.id = TestWindow;
    layout.window.size = QSize(100, 100);
    layer.registerWindow(layout);
    layer.loadWindow(TestWindow);
    layer.findControlByTag(TestWindow, 42);
    std::printf("went on after the fault\n");
    return 0;
}

} // namespace

class tst_WidgetLayer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadingRaisesCreatedThenPositionThenSize();
    void moveControl_data();
    void moveControl();
    void propertyWritesClamp_data();
    void propertyWritesClamp();
    void childOriginPlacesControls_data();
    void childOriginPlacesControls();
    void cloneOfHiddenDisabledTemplate();
    void cloneFailsWithoutChange_data();
    void cloneFailsWithoutChange();
    void cloneKeepsStoredEntryNotPresentState();
    void findControlByTagTakesControlListOrder();
    void buttonClickReachesHandler();
    void mayCloseFalseKeepsWindowOpen();
    void fatalFaultShowsMessageAndEnds();

private:
    WindowLayout table();

    std::unique_ptr<WidgetLayer> m_layer;
    QStringList m_log;
    QList<ControlRef> m_sources;
    QSize m_sizeSeenWhenCreated;
    bool m_allowClose = true;
};

WindowLayout tst_WidgetLayer::table()
{
    WindowLayout layout;
    layout.window.id = TestWindow;
    layout.window.className = QStringLiteral("Test_Window");
    layout.window.size = QSize(400, 300);
    layout.window.events = {
        {Event::Created, plainHandler([this] {
             m_log << QStringLiteral("created");
             m_sizeSeenWhenCreated = QSize(m_layer->readInteger(Caption, Prop::Width),
                                           m_layer->readInteger(Caption, Prop::Height));
         })},
        {Event::PositionChanged, plainHandler([this] { m_log << QStringLiteral("position"); })},
        {Event::SizeChanged, plainHandler([this] { m_log << QStringLiteral("size"); })},
        {Event::MayClose, [this](const EventArgs &) { return m_allowClose; }},
    };
    ControlEntry caption = labelEntry(Caption, {10, 10, 100, 20});
    ControlEntry templ = labelEntry(Template, {16, 16, 120, 20});
    templ.visible = false;
    templ.disabled = true;
    templ.events = {{Event::LeftButtonDown, [this](const EventArgs &) {
                         m_sources << m_layer->eventSource();
                         return true;
                     }}};
    ControlEntry button;
    button.id = Button.control;
    button.type = Button.type;
    button.rect = QRect(10, 40, 80, 30);
    button.properties = {{Prop::ButtonCaption, QStringLiteral("go")}};
    button.events = {{Event::Clicked, plainHandler([this] { m_sources << m_layer->eventSource(); })}};
    layout.controls = {caption, templ, button, labelEntry(Other, {10, 80, 100, 20})};
    return layout;
}

void tst_WidgetLayer::init()
{
    m_log.clear();
    m_sources.clear();
    m_allowClose = true;
    m_layer = std::make_unique<WidgetLayer>();
    m_layer->registerWindow(table());
    QVERIFY(m_layer->loadWindow(TestWindow));
}

void tst_WidgetLayer::cleanup()
{
    m_layer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_WidgetLayer::loadingRaisesCreatedThenPositionThenSize()
{
    QCOMPARE(m_log, (QStringList{"created", "position", "size"}));
    QCOMPARE(m_sizeSeenWhenCreated, QSize(100, 20));
    QVERIFY(m_layer->widget(Window)->isVisible());
    QVERIFY(!m_layer->loadWindow(TestWindow));
}

void tst_WidgetLayer::moveControl_data()
{
    QTest::addColumn<std::optional<int>>("left");
    QTest::addColumn<std::optional<int>>("top");
    QTest::addColumn<std::optional<int>>("width");
    QTest::addColumn<std::optional<int>>("height");
    QTest::addColumn<QRect>("expected");
    const std::optional<int> keep;
    QTest::newRow("top of -1 is a real coordinate") << keep << std::optional<int>(-1) << keep << keep
                                                     << QRect(10, -1, 100, 20);
    QTest::newRow("width of -1 keeps the width") << keep << keep << std::optional<int>(-1) << keep
                                                 << QRect(10, 10, 100, 20);
    QTest::newRow("left of -1 is a real coordinate") << std::optional<int>(-1) << keep << keep << keep
                                                     << QRect(-1, 10, 100, 20);
    QTest::newRow("everything") << std::optional<int>(5) << std::optional<int>(6) << std::optional<int>(7)
                                << std::optional<int>(8) << QRect(5, 6, 7, 8);
    QTest::newRow("no clamping") << std::optional<int>(-40000) << keep << std::optional<int>(40000) << keep
                                 << QRect(-40000, 10, 40000, 20);
}

void tst_WidgetLayer::moveControl()
{
    QFETCH(std::optional<int>, left);
    QFETCH(std::optional<int>, top);
    QFETCH(std::optional<int>, width);
    QFETCH(std::optional<int>, height);
    QFETCH(QRect, expected);
    m_layer->moveControl(Caption, left, top, width, height);
    const QRect now(m_layer->readInteger(Caption, Prop::Left), m_layer->readInteger(Caption, Prop::Top),
                    m_layer->readInteger(Caption, Prop::Width), m_layer->readInteger(Caption, Prop::Height));
    QCOMPARE(now, expected);
}

void tst_WidgetLayer::propertyWritesClamp_data()
{
    QTest::addColumn<Prop>("index");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("read");
    QTest::newRow("left beyond the limit") << Prop::Left << 99999 << 32627;
    QTest::newRow("left below the limit") << Prop::Left << -99999 << -32627;
    QTest::newRow("top at the limit") << Prop::Top << 32627 << 32627;
    QTest::newRow("negative top kept") << Prop::Top << -20 << -20;
    QTest::newRow("negative width is 0") << Prop::Width << -20 << 0;
    QTest::newRow("huge height") << Prop::Height << 2147483647 << 32627;
    QTest::newRow("width one past the limit") << Prop::Width << 32628 << 32627;
}

void tst_WidgetLayer::propertyWritesClamp()
{
    QFETCH(Prop, index);
    QFETCH(int, written);
    QFETCH(int, read);
    m_layer->writeProperty(Caption, index, written);
    QCOMPARE(m_layer->readInteger(Caption, index), read);
}

void tst_WidgetLayer::childOriginPlacesControls_data()
{
    QTest::addColumn<QPoint>("origin");
    QTest::addColumn<QRect>("placed");
    QTest::addColumn<QPoint>("shown");
    QTest::newRow("no origin") << QPoint() << QRect(10, 10, 100, 20) << QPoint(10, 10);
    QTest::newRow("inside a border") << QPoint(9, 10) << QRect(10, 10, 100, 20) << QPoint(19, 20);
    QTest::newRow("a negative position shows over the border") << QPoint(9, 10) << QRect(-30, -8, 100, 20) << QPoint(-21, 2);
    QTest::newRow("an origin past 16 bits wraps as X wraps") << QPoint(65538, 2) << QRect(10, 10, 100, 20) << QPoint(12, 12);
    QTest::newRow("the largest position wraps") << QPoint(200, 0) << QRect(32627, 0, 100, 20) << QPoint(-32709, 0);
}

// What is written and read stays where the origin places from; the screen shows it moved. (Controls
// made later and the window's pointer events: tst_placement, tst_designwindow.)
void tst_WidgetLayer::childOriginPlacesControls()
{
    QFETCH(QPoint, origin);
    QFETCH(QRect, placed);
    QFETCH(QPoint, shown);
    QWidget *caption = m_layer->widget(Caption);
    m_layer->setChildOrigin(Window, origin);
    QCOMPARE(m_layer->reader(Caption).geometry(), QRect(10, 10, 100, 20));
    m_layer->moveControl(Caption, placed.left(), placed.top());
    QCOMPARE(m_layer->reader(Caption).geometry(), placed);
    QCOMPARE(caption->pos(), shown);
}

void tst_WidgetLayer::cloneOfHiddenDisabledTemplate()
{
    ControlRef clone{0, 0, ControlType::Label};
    QVERIFY(m_layer->cloneControl(Template, clone));
    QCOMPARE(clone.window, TestWindow);
    QVERIFY(clone.control != Template.control);
    QVERIFY(!m_layer->readBoolean(clone, Prop::Visible));
    QVERIFY(m_layer->readBoolean(clone, Prop::Disabled));
    QCOMPARE(m_layer->readInteger(clone, Prop::Left), 16);
    QCOMPARE(m_layer->readInteger(clone, Prop::Width), 120);
    QCOMPARE(m_layer->readText(clone, Prop::LabelText), QStringLiteral("text 2"));

    // Shown and enabled, its press reaches the template's handler, which sees the clone as the source.
    m_layer->writeProperty(clone, Prop::Visible, true);
    m_layer->writeProperty(clone, Prop::Disabled, false);
    QTest::mousePress(m_layer->widget(clone), Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseRelease(m_layer->widget(clone), Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(m_sources, QList<ControlRef>{clone});

    // It sits directly behind its source and next to it in the control list.
    const QList<QObject *> siblings = m_layer->widget(Window)->children();
    QCOMPARE(siblings.indexOf(m_layer->widget(clone)) + 1, siblings.indexOf(m_layer->widget(Template)));
    const QList<int> order = m_layer->controlList(TestWindow);
    QCOMPARE(order.indexOf(clone.control), order.indexOf(Template.control) + 1);
}

void tst_WidgetLayer::cloneFailsWithoutChange_data()
{
    QTest::addColumn<ControlRef>("source");
    QTest::addColumn<ControlRef>("output");
    QTest::newRow("other type") << Template << ControlRef{0, 0, ControlType::PushButton};
    QTest::newRow("the window itself") << Window << ControlRef{0, 0, ControlType::Window};
    QTest::newRow("no such control") << ControlRef{TestWindow, 99, ControlType::Label}
                                     << ControlRef{0, 0, ControlType::Label};
    QTest::newRow("window not loaded") << ControlRef{3, 1, ControlType::Label} << ControlRef{0, 0, ControlType::Label};
}

void tst_WidgetLayer::cloneFailsWithoutChange()
{
    QFETCH(ControlRef, source);
    QFETCH(ControlRef, output);
    const ControlRef before = output;
    const QList<int> controls = m_layer->controlList(TestWindow);
    QVERIFY(!m_layer->cloneControl(source, output));
    QCOMPARE(output, before);
    QCOMPARE(m_layer->controlList(TestWindow), controls);
}

void tst_WidgetLayer::cloneKeepsStoredEntryNotPresentState()
{
    m_layer->writeProperty(Caption, Prop::LabelText, QStringLiteral("changed"));
    m_layer->moveControl(Caption, 200, 200);
    ControlRef clone{0, 0, ControlType::Label};
    QVERIFY(m_layer->cloneControl(Caption, clone));
    QCOMPARE(m_layer->readText(clone, Prop::LabelText), QStringLiteral("text 1"));
    QCOMPARE(m_layer->readInteger(clone, Prop::Left), 10);
    QVERIFY(!m_layer->readBoolean(clone, Prop::Visible));
}

void tst_WidgetLayer::findControlByTagTakesControlListOrder()
{
    m_layer->writeProperty(Other, Prop::Tag, QStringLiteral("3"));
    m_layer->writeProperty(Caption, Prop::Tag, QStringLiteral("03"));
    QCOMPARE(m_layer->findControlByTag(TestWindow, 3), Caption);
    m_layer->writeProperty(Caption, Prop::Tag, QString());
    QCOMPARE(m_layer->findControlByTag(TestWindow, 3), Other);

    // A clone comes right after its source, before the controls that follow the source in the table.
    ControlRef clone{0, 0, ControlType::Label};
    QVERIFY(m_layer->cloneControl(Template, clone));
    m_layer->writeProperty(clone, Prop::Tag, QStringLiteral(" 3"));
    QCOMPARE(m_layer->findControlByTag(TestWindow, 3), clone);
}

void tst_WidgetLayer::buttonClickReachesHandler()
{
    QTest::mouseClick(m_layer->widget(Button), Qt::LeftButton);
    QCOMPARE(m_sources, QList<ControlRef>{Button});
}

void tst_WidgetLayer::mayCloseFalseKeepsWindowOpen()
{
    m_allowClose = false;
    QVERIFY(!m_layer->widget(Window)->close());
    QVERIFY(m_layer->widget(Window)->isVisible());
    m_allowClose = true;
    QVERIFY(m_layer->widget(Window)->close());
}

void tst_WidgetLayer::fatalFaultShowsMessageAndEnds()
{
    const testsupport::ChildRun run = testsupport::runSelfWith(FatalFaultRun);
    QVERIFY2(run.finished, "the faulting program did not end");
    const QString message = testsupport::reportedText(run.lines.value(0));
    QVERIFY2(message.startsWith(QStringLiteral("运行时出错!\n")), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("未找到指定标记的组件")));
    QCOMPARE(run.lines.value(1), QByteArray());
    QCOMPARE(run.status, QProcess::NormalExit);
    QVERIFY(run.exitCode != 0);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(FatalFaultRun))
        return runIntoFatalFault(argc, argv);
    QApplication app(argc, argv);
    tst_WidgetLayer test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_widgetlayer.moc"
