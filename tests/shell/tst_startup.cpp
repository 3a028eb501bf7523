#include "design/designwindowids.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "shell/mainwindowlayout.h"
#include "support/messageboxes.h"
#include "support/screenscale.h"
#include "widgets/screenscaling.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>

using namespace shell;
using widgets::ControlRef;
using widgets::Prop;

namespace {

// Environment variable that makes this executable act as a designer on a refused platform.
constexpr char RefusedPlatformRun[] = "KESTRIGAN_TEST_REFUSED_PLATFORM";

QRect rectOf(const widgets::WidgetLayer &layer, const ControlRef &ref)
{
    return QRect(layer.readInteger(ref, Prop::Left), layer.readInteger(ref, Prop::Top),
                 layer.readInteger(ref, Prop::Width), layer.readInteger(ref, Prop::Height));
}

// Where the control shows, in the screen pixels of the main window's client area.
QRect pixelRectOf(const widgets::WidgetLayer &layer, const ControlRef &ref)
{
    const QWidget *widget = layer.widget(ref);
    return QRect(widget->mapTo(layer.widget(ids::MainWindow), QPoint(0, 0)), widget->size());
}

// Starts a designer on a platform too old for it. The message must appear, and once it is dismissed
// the designer must end the process with exit code 0, before anything else of the start-up runs.
int runOnRefusedPlatform(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTimer watcher;
    testsupport::reportAndDismissMessageBoxes(watcher);
    // A kernel older than any the designer supports.
    Designer designer([] { return PlatformVersion{2, 6}; });
    designer.start();
    std::printf("start-up went on\n");
    return 3;
}

} // namespace

Q_DECLARE_METATYPE(widgets::ControlRef)

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void stateAfterStartUp();
    void sizeLimitsFollowLoadSizeAndScreen_data();
    void sizeLimitsFollowLoadSizeAndScreen();
    void layoutAtClientSize1000x700();
    void neighboursTouchOnTheScreen_data();
    void neighboursTouchOnTheScreen();
    void layoutFormulas_data();
    void layoutFormulas();
    void platformCheck_data();
    void platformCheck();
    void kernelRelease_data();
    void kernelRelease();
    void refusedPlatformShowsMessageAndExitsWithZero();

private:
    std::unique_ptr<Designer> m_designer;
};

void tst_Startup::init()
{
    m_designer = std::make_unique<Designer>([] { return PlatformVersion{6, 1}; });
    m_designer->start();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(ids::MainWindow)));
}

void tst_Startup::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Startup::stateAfterStartUp()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    QCOMPARE(layer.readText(ids::StatusBar, Prop::LabelText), QStringLiteral(" 初始化完毕"));
    QCOMPARE(layer.readInteger(ids::Palette, Prop::MenuCurrentItem), 0);
    QCOMPARE(layer.listCount(ids::ComponentList), 1);
    QCOMPARE(layer.listItemText(ids::ComponentList, 0), QStringLiteral("窗口"));
    QCOMPARE(layer.readInteger(ids::ComponentList, Prop::ListSelection), 0);
    QCOMPARE(layer.readInteger(ids::PanelContainer, Prop::CurrentPage), ids::WindowPage);
    QCOMPARE(layer.widget(ids::MainWindow)->objectName(), QStringLiteral("Kestrigan_MainWindow"));
    QCOMPARE(layer.widget(ids::MainWindow)->windowTitle(), QStringLiteral("Kestrigan 1.2.6.0"));
    QCOMPARE(layer.widget(design::ids::DesignWindow)->objectName(), QStringLiteral("Kestrigan_DesignWindow"));
    QCOMPARE(m_designer->model.windowLeft, 100);
    QCOMPARE(m_designer->model.windowTop, 100);
    QCOMPARE(m_designer->model.lastNumber, 0);

    // The layout has run once: at the load size it leaves the table's rectangles as they were.
    QCOMPARE(layer.clientWidth(ids::MainWindow), 800);
    QCOMPARE(layer.clientHeight(ids::MainWindow), 548);
    QCOMPARE(rectOf(layer, ids::PropertyGrid), QRect(622, 66, 177, 457));
    QCOMPARE(rectOf(layer, ids::StatusBar), QRect(0, 524, 800, 24));
    // In screen pixels the interface is as large as its scale makes it: 1200 x 822 at half again.
    QCOMPARE(layer.widget(ids::MainWindow)->size(), testsupport::multiplied(QRect(0, 0, 800, 548)).size());
    QCOMPARE(pixelRectOf(layer, ids::StatusBar), testsupport::multiplied(QRect(0, 524, 800, 24)));

    // The design window sits in the canvas with a 300 x 200 client area, whatever its frame.
    QCOMPARE(layer.readInteger(design::ids::DesignWindow, Prop::Left), 20);
    QCOMPARE(layer.readInteger(design::ids::DesignWindow, Prop::Top), 20);
    QCOMPARE(layer.clientWidth(design::ids::DesignWindow), 300);
    QCOMPARE(layer.clientHeight(design::ids::DesignWindow), 200);
}

void tst_Startup::sizeLimitsFollowLoadSizeAndScreen_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("client");    // the client size the window takes; empty: see outer
    QTest::addColumn<QSize>("outer");     // the outer size, frame included, where that is what counts
    // The screen is 1920 x 1080 with nothing taken from it; the frame is the platform's. The requested
    // and client sizes are layout units, asked and shown at the interface's scale; the outer size is
    // the screen's, in pixels.
    QTest::newRow("smaller stops at the start size") << QSize(300, 200) << QSize(800, 548) << QSize();
    QTest::newRow("start size") << QSize(800, 548) << QSize(800, 548) << QSize();
    QTest::newRow("narrower only") << QSize(799, 700) << QSize(800, 700) << QSize();
    QTest::newRow("in between") << QSize(1000, 700) << QSize(1000, 700) << QSize();
    QTest::newRow("larger stops at the screen, frame and all") << QSize(5000, 5000) << QSize() << QSize(1920, 1080);
    QTest::newRow("largest a widget can be") << QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX) << QSize()
                                             << QSize(1920, 1080);
}

void tst_Startup::sizeLimitsFollowLoadSizeAndScreen()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, client);
    QFETCH(QSize, outer);
    const auto pixels = [](QSize units) { return testsupport::multiplied(QRect(QPoint(), units)).size(); };
    QWidget *window = m_designer->layer.widget(ids::MainWindow);
    QCOMPARE(window->minimumSize(), pixels(QSize(800, 548)));
    QVERIFY2(window->frameGeometry().size() != window->size(), "the platform gave the window no frame");
    window->resize(outer.isValid() ? requested : pixels(requested));
    if (client.isValid())
        QCOMPARE(window->size(), pixels(client));
    else
        QCOMPARE(window->frameGeometry().size(), outer);
}

void tst_Startup::layoutAtClientSize1000x700()
{
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.widget(ids::MainWindow)->resize(widgets::toScreen(QSize(1000, 700), testsupport::expectedInterfaceScale()));
    QTRY_COMPARE(layer.clientWidth(ids::MainWindow), 1000);
    QCOMPARE(rectOf(layer, ids::PanelContainer).size(), QSize(679, 638));
    QCOMPARE(layer.readInteger(ids::VerticalScrollBar, Prop::Left), 807);
    QCOMPARE(layer.readInteger(ids::VerticalScrollBar, Prop::Height), 638);
    QCOMPARE(layer.readInteger(ids::HorizontalScrollBar, Prop::Top), 661);
    QCOMPARE(layer.readInteger(ids::HorizontalScrollBar, Prop::Width), 679);
    QCOMPARE(layer.readInteger(ids::StatusBar, Prop::Top), 676);
    QCOMPARE(layer.readInteger(ids::StatusBar, Prop::Width), 1000);
    QCOMPARE(layer.readInteger(ids::PropertiesHeading, Prop::Left), 822);
    QCOMPARE(layer.readInteger(ids::PropertiesHeading, Prop::Width), 177);
    QCOMPARE(layer.readInteger(ids::ComponentList, Prop::Left), 822);
    QCOMPARE(layer.readInteger(ids::ComponentList, Prop::Width), 177);
    QCOMPARE(rectOf(layer, ids::PropertyGrid), QRect(822, 66, 177, 609));
    QCOMPARE(layer.readInteger(ids::Palette, Prop::Height), 676);
    QCOMPARE(rectOf(layer, ids::CodeView).size(), QSize(664, 623));
    for (const ControlRef &about : {ids::TitleLabel, ids::IntroductionLabel, ids::VersionLabel, ids::DisclaimerLabel,
                                    ids::ContactLabel, ids::CopyrightLabel})
        QCOMPARE(layer.readInteger(about, Prop::Width), 535);
    QCOMPARE(layer.readInteger(ids::PanelUnderline, Prop::Width), 694);
}

void tst_Startup::neighboursTouchOnTheScreen_data()
{
    QTest::addColumn<ControlRef>("first");
    QTest::addColumn<ControlRef>("next");        // below the first, or right of it
    QTest::addColumn<bool>("below");
    QTest::addColumn<QSize>("client");
    for (const QSize &client : {QSize(800, 548), QSize(1001, 651)}) {
        const QByteArray size = QByteArray::number(client.width()) + " x " + QByteArray::number(client.height());
        QTest::newRow("panel button over the underline, " + size) << ids::CodePanelButton << ids::PanelUnderline << true << client;
        QTest::newRow("horizontal bar over the status bar, " + size) << ids::HorizontalScrollBar << ids::StatusBar << true << client;
        QTest::newRow("vertical bar beside the heading, " + size) << ids::VerticalScrollBar << ids::PropertiesHeading << false << client;
        QTest::newRow("vertical bar beside the list, " + size) << ids::VerticalScrollBar << ids::ComponentList << false << client;
        QTest::newRow("palette beside the panel button, " + size) << ids::Palette << ids::WindowPanelButton << false << client;
    }
}

// Controls that touch in the layout touch on the screen, neither overlapping nor apart by a pixel,
// whatever the scale.
void tst_Startup::neighboursTouchOnTheScreen()
{
    QFETCH(ControlRef, first);
    QFETCH(ControlRef, next);
    QFETCH(bool, below);
    QFETCH(QSize, client);
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.widget(ids::MainWindow)->resize(widgets::toScreen(client, testsupport::expectedInterfaceScale()));
    QTRY_COMPARE(layer.clientWidth(ids::MainWindow), client.width());
    const QRect units = rectOf(layer, first);
    const QRect pixels = pixelRectOf(layer, first);
    if (below) {
        QCOMPARE(rectOf(layer, next).top(), units.bottom() + 1);
        QCOMPARE(pixelRectOf(layer, next).top(), pixels.bottom() + 1);
    } else {
        QCOMPARE(rectOf(layer, next).left(), units.right() + 1);
        QCOMPARE(pixelRectOf(layer, next).left(), pixels.right() + 1);
    }
}

void tst_Startup::layoutFormulas_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("clientHeight");
    QTest::addColumn<int>("containerWidth");
    QTest::addColumn<int>("containerHeight");
    QTest::addColumn<int>("gridHeight");
    QTest::newRow("load size") << 800 << 548 << 479 << 486 << 457;
    QTest::newRow("1000 x 700") << 1000 << 700 << 679 << 638 << 609;
    QTest::newRow("full HD") << 1920 << 1080 << 1599 << 1018 << 989;
}

void tst_Startup::layoutFormulas()
{
    QFETCH(int, clientWidth);
    QFETCH(int, clientHeight);
    QFETCH(int, containerWidth);
    QFETCH(int, containerHeight);
    QFETCH(int, gridHeight);
    LayoutInput in{clientWidth, clientHeight, 128, 15, 15, 24, 21, 2, 23, 25, 0};
    const QList<LayoutStep> steps = mainWindowLayout(in);
    QCOMPARE(steps.size(), 16);
    QCOMPARE(steps[1].control, ids::PanelContainer);
    QCOMPARE(*steps[1].width, containerWidth);
    QCOMPARE(*steps[1].height, containerHeight);
    QCOMPARE(steps[5].control, ids::PropertyGrid);
    QCOMPARE(*steps[5].height, gridHeight);
    QVERIFY(!steps[0].left && !steps[0].top && !steps[0].width);
}

void tst_Startup::platformCheck_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("supported");
    QTest::newRow("5.1 refused") << 5 << 1 << false;
    QTest::newRow("6.0 accepted") << 6 << 0 << true;
    QTest::newRow("6.1 accepted") << 6 << 1 << true;
    QTest::newRow("6.2 accepted") << 6 << 2 << true;
    QTest::newRow("10.0 accepted") << 10 << 0 << true;
    QTest::newRow("5.10 counts as 6.0") << 5 << 10 << true;
    QTest::newRow("5.9 refused") << 5 << 9 << false;
}

void tst_Startup::platformCheck()
{
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, supported);
    QCOMPARE(isSupported(PlatformVersion{major, minor}, PlatformVersion{6, 0}), supported);
}

void tst_Startup::kernelRelease_data()
{
    QTest::addColumn<QString>("release");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<bool>("supported");
    QTest::newRow("Debian 12") << QStringLiteral("6.1.0-18-amd64") << 6 << 1 << true;
    QTest::newRow("oldest accepted") << QStringLiteral("3.2.0") << 3 << 2 << true;
    QTest::newRow("3.10 is newer than 3.2") << QStringLiteral("3.10.0-1160.el7") << 3 << 10 << true;
    QTest::newRow("too old") << QStringLiteral("2.6.32-754") << 2 << 6 << false;
    QTest::newRow("3.1 too old") << QStringLiteral("3.1.10") << 3 << 1 << false;
    QTest::newRow("unreadable") << QStringLiteral("unknown") << 0 << 0 << false;
}

void tst_Startup::kernelRelease()
{
    QFETCH(QString, release);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(bool, supported);
    const PlatformVersion version = parseKernelRelease(release);
    QCOMPARE(version.major, major);
    QCOMPARE(version.minor, minor);
    QCOMPARE(isSupported(version, PlatformVersion{3, 2}), supported);
}

void tst_Startup::refusedPlatformShowsMessageAndExitsWithZero()
{
    const testsupport::ChildRun run = testsupport::runSelfWith(RefusedPlatformRun);
    QVERIFY2(run.finished, "the refused designer did not end");
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(testsupport::reportedText(run.lines.value(0)), QStringLiteral("Kestrigan 无法在该系统运行"));
    QCOMPARE(run.lines.value(0).split('|').mid(1), (QList<QByteArray>{"错误", "error", "1"}));
    QCOMPARE(run.lines.value(1), QByteArray());
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(RefusedPlatformRun))
        return runOnRefusedPlatform(argc, argv);
    // As the designer starts, so that a scale asked of Qt takes as it does there.
    widgets::prepareScreenScaling();
    QApplication app(argc, argv);
    tst_Startup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
