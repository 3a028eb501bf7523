#include "design/designtesting.h"

#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QStyleOptionTitleBar>

using namespace designtesting;
using design::ids::DesignWindow;

namespace {

QMdiSubWindow *subWindow(const shell::Designer &designer)
{
    return qobject_cast<QMdiSubWindow *>(designer.layer.widget(DesignWindow));
}

// Where the style puts one of the caption bar's parts, in the sub-window's coordinates.
QRect titleBarPart(QMdiSubWindow *window, QStyle::SubControl part)
{
    QStyleOptionTitleBar option;
    option.initFrom(window);
    option.subControls = QStyle::SC_All;
    option.titleBarFlags = window->windowFlags();
    option.titleBarState = uint(window->windowState());
    option.text = window->windowTitle();
    const int height = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, window);
    option.rect = QRect(0, 0, window->width(), height);
    return window->style()->subControlRect(QStyle::CC_TitleBar, &option, part, window);
}

// Counts the events of one type that reach a window.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QEvent::Type type, QEvent::Type also = QEvent::None) : m_type(type), m_also(also) {}
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type || event->type() == m_also)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
    QEvent::Type m_also;
};

QString statusText(const shell::Designer &designer)
{
    return designer.layer.readText(shell::ids::StatusBar, Prop::LabelText);
}

} // namespace

class tst_DesignWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void sitsInCanvasWithClientArea300x200();
    void canvasAndScrollRangesFollowScreenAndFrame();
    void sizeTextFollowsFrameDrag_data();
    void sizeTextFollowsFrameDrag();
    void leftFrameDragKeepsPositionAndSize();
    void sizeTextFollowsPropertyWrites_data();
    void sizeTextFollowsPropertyWrites();
    void pointerTextOverEmptyClientArea_data();
    void pointerTextOverEmptyClientArea();
    void pointerOverPlacedWidgetLeavesStatus();
    void snapsBackAfterMove_data();
    void snapsBackAfterMove();
    void closeBoxDoesNothing();
    void closeCommandOfSystemMenuDoesNothing();
    void captionShowsTitle_data();
    void captionShowsTitle();
    void templatesStayHiddenDisabledAndPut();
    void clientShowsTkWindowColour();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_DesignWindow::init()
{
    m_designer = startDesigner();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
}

void tst_DesignWindow::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_DesignWindow::sitsInCanvasWithClientArea300x200()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    QMdiSubWindow *window = subWindow(*m_designer);
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), layer.widget(shell::ids::DesignCanvas));
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowState() & ~Qt::WindowActive, Qt::WindowNoState);
    QCOMPARE(layer.readInteger(DesignWindow, Prop::Left), 20);
    QCOMPARE(layer.readInteger(DesignWindow, Prop::Top), 20);
    QCOMPARE(layer.clientWidth(DesignWindow), 300);
    QCOMPARE(layer.clientHeight(DesignWindow), 200);
    // In screen pixels on every screen, as Tk's window is.
    QCOMPARE(designClient(*m_designer)->size(), QSize(300, 200));
    QCOMPARE(window->pos(), QPoint(20, 20));
    QCOMPARE(window->windowTitle(), QString());
    // A real frame: a caption bar above the client area and a border round it.
    QVERIFY(layer.readInteger(DesignWindow, Prop::Height) - 200 > 10);
    QVERIFY(layer.readInteger(DesignWindow, Prop::Width) > 300);
    // Start-up wrote its own message over the size text.
    QCOMPARE(statusText(*m_designer), QStringLiteral(" 初始化完毕"));
}

void tst_DesignWindow::canvasAndScrollRangesFollowScreenAndFrame()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    const int frameWidth = layer.readInteger(DesignWindow, Prop::Width) - layer.clientWidth(DesignWindow);
    const int frameHeight = layer.readInteger(DesignWindow, Prop::Height) - layer.clientHeight(DesignWindow);
    QCOMPARE(rectOf(layer, shell::ids::DesignCanvas), QRect(0, 0, 1920 + frameWidth + 30, 1080 + frameHeight + 30));
    QCOMPARE(layer.readInteger(shell::ids::HorizontalScrollBar, Prop::ScrollMaximum), 1920 + frameWidth + 30);
    QCOMPARE(layer.readInteger(shell::ids::VerticalScrollBar, Prop::ScrollMaximum), 1080 + frameHeight + 30);
    QCOMPARE(layer.readInteger(shell::ids::HorizontalScrollBar, Prop::ScrollPosition), 0);
    QCOMPARE(layer.readInteger(shell::ids::VerticalScrollBar, Prop::ScrollPosition), 0);
}

void tst_DesignWindow::sizeTextFollowsFrameDrag_data()
{
    QTest::addColumn<QPoint>("travel");
    QTest::addColumn<QString>("status");
    QTest::newRow("to 411 x 250") << QPoint(111, 50) << QStringLiteral(" 窗口大小: 411,250");
    QTest::newRow("smaller, 250 x 120") << QPoint(-50, -80) << QStringLiteral(" 窗口大小: 250,120");
    QTest::newRow("only wider") << QPoint(1, 0) << QStringLiteral(" 窗口大小: 301,200");
    // Tk's smallest window, as the grid gives it for a width or height of 0.
    QTest::newRow("past the top-left corner") << QPoint(-400, -300) << QStringLiteral(" 窗口大小: 1,1");
}

// The user drags the bottom-right corner of the frame.
void tst_DesignWindow::sizeTextFollowsFrameDrag()
{
    QFETCH(QPoint, travel);
    QFETCH(QString, status);
    QMdiSubWindow *window = subWindow(*m_designer);
    const QPoint corner(window->width() - 2, window->height() - 2);
    // The pointer comes to the frame first: the frame decides from the hover what a press will do.
    QTest::mouseMove(window, corner);
    QTest::mousePress(window, Qt::LeftButton, {}, corner);
    QTest::mouseMove(window, corner + travel);
    QTest::mouseRelease(window, Qt::LeftButton, {}, corner + travel);
    QCOMPARE(statusText(*m_designer), status);
    // The grid, which shows the window, shows the size it has now.
    QCOMPARE(gridValue(*m_designer, QStringLiteral("宽度")), QString::number(m_designer->layer.clientWidth(DesignWindow)));
    QCOMPARE(gridValue(*m_designer, QStringLiteral("高度")), QString::number(m_designer->layer.clientHeight(DesignWindow)));
    QCOMPARE(m_designer->layer.readInteger(DesignWindow, Prop::Left), 20);
    QCOMPARE(m_designer->layer.readInteger(DesignWindow, Prop::Top), 20);
}

// Dragging the left edge moves the window; it goes back to (20, 20) keeping the size it got.
void tst_DesignWindow::leftFrameDragKeepsPositionAndSize()
{
    QMdiSubWindow *window = subWindow(*m_designer);
    const QPoint edge(1, window->height() / 2);
    QTest::mouseMove(window, edge);
    QTest::mousePress(window, Qt::LeftButton, {}, edge);
    QTest::mouseMove(window, edge + QPoint(-15, 0));
    QTest::mouseRelease(window, Qt::LeftButton, {}, edge + QPoint(-15, 0));
    QCOMPARE(m_designer->layer.readInteger(DesignWindow, Prop::Left), 20);
    QCOMPARE(m_designer->layer.readInteger(DesignWindow, Prop::Top), 20);
    QCOMPARE(m_designer->layer.clientWidth(DesignWindow), 315);
    QCOMPARE(statusText(*m_designer), QStringLiteral(" 窗口大小: 315,200"));
}

void tst_DesignWindow::sizeTextFollowsPropertyWrites_data()
{
    QTest::addColumn<int>("outerWidth");
    QTest::addColumn<int>("outerHeight");
    QTest::addColumn<bool>("bothWritten");
    QTest::newRow("larger than the canvas's view") << 2500 << 1500 << true;
    QTest::newRow("only the width") << 640 << 0 << false;
}

// The grid writes a typed width or height as the outer size; the status bar reports the client size.
void tst_DesignWindow::sizeTextFollowsPropertyWrites()
{
    QFETCH(int, outerWidth);
    QFETCH(int, outerHeight);
    QFETCH(bool, bothWritten);
    widgets::WidgetLayer &layer = m_designer->layer;
    const QRect canvasBefore = rectOf(layer, shell::ids::DesignCanvas);
    layer.writeProperty(DesignWindow, Prop::Width, outerWidth);
    if (bothWritten)
        layer.writeProperty(DesignWindow, Prop::Height, outerHeight);
    const QString expected = QStringLiteral(" 窗口大小: %1,%2")
                                 .arg(layer.clientWidth(DesignWindow))
                                 .arg(layer.clientHeight(DesignWindow));
    QCOMPARE(statusText(*m_designer), expected);
    QCOMPARE(layer.readInteger(DesignWindow, Prop::Width), outerWidth);
    // The canvas keeps the size it got at creation.
    QCOMPARE(rectOf(layer, shell::ids::DesignCanvas), canvasBefore);
}

void tst_DesignWindow::pointerTextOverEmptyClientArea_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QPoint>("origin");   // where the design window places its widgets from
    QTest::newRow("top-left corner") << QPoint(0, 0) << QStringLiteral(" 指针座标: 0,0") << QPoint();
    QTest::newRow("(12, 7)") << QPoint(12, 7) << QStringLiteral(" 指针座标: 12,7") << QPoint();
    QTest::newRow("bottom-right corner") << QPoint(299, 199) << QStringLiteral(" 指针座标: 299,199") << QPoint();
    // Where a widget placed there would go, over the root window's border too.
    QTest::newRow("inside a border") << QPoint(12, 17) << QStringLiteral(" 指针座标: 3,7") << QPoint(9, 10);
    QTest::newRow("over a border") << QPoint(0, 0) << QStringLiteral(" 指针座标: -9,-10") << QPoint(9, 10);
}

void tst_DesignWindow::pointerTextOverEmptyClientArea()
{
    QFETCH(QPoint, at);
    QFETCH(QString, status);
    QFETCH(QPoint, origin);
    m_designer->layer.setChildOrigin(DesignWindow, origin);
    // With no button held this is what moving the mouse does (a null point would mean the centre to QTest).
    QCursor::setPos(designClient(*m_designer)->mapToGlobal(at));
    QCoreApplication::processEvents();
    QCOMPARE(statusText(*m_designer), status);
}

void tst_DesignWindow::pointerOverPlacedWidgetLeavesStatus()
{
    const ControlRef label = place(*m_designer, LabelRow, QPoint(40, 30));
    QVERIFY(!label.isNull());
    QTest::mouseMove(designClient(*m_designer), QPoint(5, 6));
    QCOMPARE(statusText(*m_designer), QStringLiteral(" 指针座标: 5,6"));
    QWidget *widget = m_designer->layer.widget(label);
    widget->setMouseTracking(true);
    QTest::mouseMove(widget, QPoint(10, 10));
    QCOMPARE(statusText(*m_designer), QStringLiteral(" 指针座标: 5,6"));
}

void tst_DesignWindow::snapsBackAfterMove_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::newRow("caption dragged") << QStringLiteral("drag");
    QTest::newRow("caption double-clicked") << QStringLiteral("double-click");
    QTest::newRow("minimize box") << QStringLiteral("minimize");
    QTest::newRow("maximize box") << QStringLiteral("maximize");
    QTest::newRow("left written") << QStringLiteral("left");
    QTest::newRow("minimized state written") << QStringLiteral("state 2");
    QTest::newRow("maximized state written") << QStringLiteral("state 3");
}

void tst_DesignWindow::snapsBackAfterMove()
{
    QFETCH(QString, gesture);
    widgets::WidgetLayer &layer = m_designer->layer;
    QMdiSubWindow *window = subWindow(*m_designer);
    const QSize outer = window->size();
    const QPoint caption = titleBarPart(window, QStyle::SC_TitleBarLabel).center();
    EventCounter changes(QEvent::Move, QEvent::WindowStateChange);
    window->installEventFilter(&changes);
    if (gesture == QLatin1String("drag")) {
        QTest::mouseMove(window, caption);
        QTest::mousePress(window, Qt::LeftButton, {}, caption);
        QTest::mouseMove(window, caption + QPoint(37, 25));
        QTest::mouseMove(window, caption + QPoint(80, 60));
        QTest::mouseRelease(window, Qt::LeftButton, {}, caption + QPoint(80, 60));
    } else if (gesture == QLatin1String("double-click")) {
        // Press, release, the second press that makes it a double click, and its release.
        QTest::mouseMove(window, caption);
        QTest::mouseClick(window, Qt::LeftButton, {}, caption);
        QTest::mouseDClick(window, Qt::LeftButton, {}, caption);
        QTest::mouseRelease(window, Qt::LeftButton, {}, caption);
    } else if (gesture == QLatin1String("minimize") || gesture == QLatin1String("maximize")) {
        // The caption's buttons act on a press and release over the button the pointer hovers.
        const QPoint box = titleBarPart(window, gesture == QLatin1String("minimize") ? QStyle::SC_TitleBarMinButton
                                                                                    : QStyle::SC_TitleBarMaxButton)
                               .center();
        QTest::mouseMove(window, box);
        QTest::mouseClick(window, Qt::LeftButton, {}, box);
    } else if (gesture == QLatin1String("left")) {
        layer.writeProperty(DesignWindow, Prop::Left, -32627);
    } else {
        layer.writeProperty(DesignWindow, Prop::WindowState, gesture.back().digitValue());
    }
    QVERIFY2(changes.count > 0, "the gesture did not reach the window");
    QCOMPARE(window->windowState() & ~Qt::WindowActive, Qt::WindowNoState);
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), QPoint(20, 20));
    QCOMPARE(window->size(), outer);
    QCOMPARE(layer.clientWidth(DesignWindow), 300);
    QCOMPARE(layer.clientHeight(DesignWindow), 200);
}

void tst_DesignWindow::closeBoxDoesNothing()
{
    QMdiSubWindow *window = subWindow(*m_designer);
    const QRect closeBox = titleBarPart(window, QStyle::SC_TitleBarCloseButton);
    QVERIFY(closeBox.isValid());
    EventCounter requests(QEvent::Close);
    window->installEventFilter(&requests);
    QTest::mouseMove(window, closeBox.center());
    QTest::mouseClick(window, Qt::LeftButton, {}, closeBox.center());
    QCOMPARE(requests.count, 1);
    QVERIFY(window->isVisible());
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QCOMPARE(window->pos(), QPoint(20, 20));
    QVERIFY(m_designer->layer.exists(DesignWindow));
}

void tst_DesignWindow::closeCommandOfSystemMenuDoesNothing()
{
    QMdiSubWindow *window = subWindow(*m_designer);
    QMenu *menu = window->systemMenu();
    QVERIFY(menu);
    QAction *close = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->shortcut() == QKeySequence::Close || action->text().contains(QLatin1String("Close")))
            close = action;
    }
    QVERIFY2(close, "the system menu has no close command");
    EventCounter requests(QEvent::Close);
    window->installEventFilter(&requests);
    close->trigger();
    QCOMPARE(requests.count, 1);
    QVERIFY(window->isVisible());
    QCOMPARE(m_designer->layer.clientWidth(DesignWindow), 300);
}

void tst_DesignWindow::captionShowsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("chinese") << QStringLiteral("我的窗口");
    QTest::newRow("empty") << QString();
    QTest::newRow("control characters") << QStringLiteral("a\tb\r\nc\x01");
    QTest::newRow("emoji outside GB2312") << QStringLiteral("窗口 \U0001F600 𠀀");
    QTest::newRow("100,000 characters") << QString(100000, QLatin1Char('W'));
}

// The grid writes the title; the caption shows it and nothing about the window's geometry changes.
void tst_DesignWindow::captionShowsTitle()
{
    QFETCH(QString, title);
    widgets::WidgetLayer &layer = m_designer->layer;
    layer.writeProperty(DesignWindow, Prop::WindowTitle, title);
    QCOMPARE(subWindow(*m_designer)->windowTitle(), title);
    QCOMPARE(layer.readText(DesignWindow, Prop::WindowTitle), title);
    QVERIFY(!subWindow(*m_designer)->grab().isNull());
    QCOMPARE(layer.clientWidth(DesignWindow), 300);
    QCOMPARE(layer.clientHeight(DesignWindow), 200);
    QCOMPARE(layer.readInteger(DesignWindow, Prop::Left), 20);
}

void tst_DesignWindow::templatesStayHiddenDisabledAndPut()
{
    const widgets::WidgetLayer &layer = m_designer->layer;
    struct Expected
    {
        ControlRef ref;
        QRect rect;
    };
    const Expected templates[] = {
        {design::ids::LabelTemplate, QRect(16, 16, 120, 20)},
        {design::ids::EntryTemplate, QRect(16, 88, 120, 20)},
        {design::ids::ButtonTemplate, QRect(16, 48, 88, 32)},
        {design::ids::RadioButtonTemplate, QRect(160, 16, 120, 20)},
        {design::ids::CheckButtonTemplate, QRect(160, 48, 120, 20)},
    };
    for (const Expected &expected : templates) {
        QCOMPARE(rectOf(layer, expected.ref), expected.rect);
        QVERIFY(!layer.readBoolean(expected.ref, Prop::Visible));
        QVERIFY(layer.readBoolean(expected.ref, Prop::Disabled));
        QCOMPARE(layer.readText(expected.ref, Prop::Tag), QString());
    }
}

// The design window stands for the generated program's window: its client area has the background
// Tk gives that window, not the white of the canvas it sits on nor Qt's window colour.
void tst_DesignWindow::clientShowsTkWindowColour()
{
    QWidget *client = designClient(*m_designer);
    const QColor expected(0xd9, 0xd9, 0xd9);
    const QImage shown = subWindow(*m_designer)->grab().toImage();
    const QPoint inside = client->mapTo(subWindow(*m_designer), QPoint(150, 100));
    QCOMPARE(shown.pixelColor(inside), expected);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_DesignWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_designwindow.moc"
