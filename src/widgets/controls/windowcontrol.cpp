#include "widgets/controls/windowcontrol.h"

#include "widgets/colour.h"
#include "widgets/screenmetrics.h"
#include "widgets/tklook/tklook.h"
#include "widgets/x11screen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOption>
#include <QStylePainter>

#include <optional>
#include <utility>

namespace widgets {

namespace {

// The window manager's frame is known only once the window is shown; until then a top-level window
// reckons with a title bar and thin borders, at the interface's scale.
QSize estimatedFrame(qreal scale)
{
    return toScreen(QSize(8, 40), scale);
}

// The size a top-level window starts at: the table's, or as much of it as fits the available area.
QSize startSize(QSize wanted, qreal scale)
{
    return wanted.boundedTo(clientRoom(availableArea().size(), estimatedFrame(scale)));
}

// A top-level window's frame: the window manager's, known once the window is shown; none before, and
// none for a window inside another (its frame geometry is its geometry).
QSize frameOf(const QWidget *window)
{
    return window->frameGeometry().size() - window->size();
}

// The outer size of a self-framed window around a one-by-one client.
QSize smallestFramedSize(const QWidget *frame)
{
    const QMargins margins = frame->contentsMargins();
    return QSize(margins.left() + margins.right() + 1, margins.top() + margins.bottom() + 1);
}

// A window that frames itself. Its client area can be as small as a window system's, one pixel each
// way (what Tk gives a window asked to be 0 wide), and the frame stays a frame: where the title bar
// has no room for its icon and buttons, it shows the title alone rather than crowd them over the
// border.
class DrawnFrame : public QMdiSubWindow
{
public:
    using QMdiSubWindow::QMdiSubWindow;

protected:
    // The right and bottom edges and their corner are sized here, from the pointer's travel in the
    // window's own coordinates: Qt's own sizing counts from where it believes the window is on the
    // screen, which not every window manager tells it truly, and it stops following an axis once the
    // pointer passes the smallest size. The left and top edges move the window, which its owner puts
    // back; Qt sizes those.
    void mousePressEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        const QRect client = contentsRect();
        const bool right = at.x() > client.right();
        const bool bottom = at.y() > client.bottom();
        if (event->button() != Qt::LeftButton || isMinimized() || isMaximized() || !(right || bottom)
            || at.x() < client.left() || at.y() < client.top()) {
            QMdiSubWindow::mousePressEvent(event);
            return;
        }
        m_sizing = {right, bottom};
        m_pressAt = event->position();
        m_pressSize = size();
        event->accept();
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (!m_sizing) {
            QMdiSubWindow::mouseMoveEvent(event);
            return;
        }
        const QPointF travel = event->position() - m_pressAt;
        QSize wanted = m_pressSize;
        if (m_sizing->first)
            wanted.setWidth(qRound(m_pressSize.width() + travel.x()));
        if (m_sizing->second)
            wanted.setHeight(qRound(m_pressSize.height() + travel.y()));
        resize(wanted.expandedTo(minimumSize()));
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if (m_sizing && event->button() == Qt::LeftButton) {
            m_sizing.reset();
            return;
        }
        QMdiSubWindow::mouseReleaseEvent(event);
    }

    void paintEvent(QPaintEvent *event) override
    {
        if (width() >= QMdiSubWindow::minimumSizeHint().width() || isMinimized() || isMaximized()) {
            QMdiSubWindow::paintEvent(event);
            return;
        }
        QStylePainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
        frame.state |= QStyle::State_Active;
        painter.drawPrimitive(QStyle::PE_FrameWindow, frame);
        QStyleOptionTitleBar title;
        title.initFrom(this);
        title.state |= QStyle::State_Active;
        title.titleBarState = QStyle::State_Active;
        title.titleBarFlags = Qt::SubWindow | Qt::WindowTitleHint;
        title.subControls = QStyle::SC_TitleBarLabel;
        title.text = windowTitle();
        title.rect = QRect(0, 0, width(), style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, this));
        painter.drawComplexControl(QStyle::CC_TitleBar, title);
    }

private:
    std::optional<std::pair<bool, bool>> m_sizing;  // the right edge, the bottom edge follow the pointer
    QPointF m_pressAt;   // where the left button went down, and the size then
    QSize m_pressSize;
};

} // namespace

WindowControl::WindowControl(const WindowEntry &entry)
    : Control(ControlType::Window), m_frame(entry.frame)
{
    setScreenPixels(entry.screenPixels);
    const QSize wanted = toScreen(entry.size, scale());
    const QSize size = m_frame == WindowFrame::Drawn ? wanted : startSize(wanted, scale());
    if (size != wanted)
        m_cutStartSize = wanted;
    if (m_frame == WindowFrame::Drawn) {
        m_subWindow = new DrawnFrame;
        m_subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        m_client = new QWidget;
        m_client->setMouseTracking(true);
        m_subWindow->setWidget(m_client);
        m_outer = m_subWindow;
        m_subWindow->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                    | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
        m_subWindow->resize(size);
        // The sub-window reports a new state once it has taken its minimized or maximized geometry;
        // only then can a handler restore it: undoing the state any earlier leaves it the minimized size.
        connect(m_subWindow, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates, Qt::WindowStates now) {
                    if (m_reporting && (now & (Qt::WindowMinimized | Qt::WindowMaximized)))
                        raise(Event::PositionChanged);
                });
    } else {
        m_outer = new QWidget;
        m_client = m_outer;
        m_client->setMouseTracking(true);
        m_outer->resize(size);
    }
    m_outer->setObjectName(entry.className);
    m_outer->setWindowTitle(entry.title);
    m_outer->setAccessibleName(entry.title);
    // A window shows its background colour, the default one included. A drawn window paints it itself
    // and sets it explicitly: left alone it would show, or inherit, the colour of whatever it sits on.
    m_client->setAutoFillBackground(entry.background != DefaultColour || m_frame == WindowFrame::Drawn);
    if (entry.background != DefaultColour || m_frame == WindowFrame::Drawn) {
        QPalette palette = m_client->palette();
        palette.setColor(QPalette::Window, entry.background != DefaultColour
                                               ? toQColor(entry.background)
                                               : m_client->style()->standardPalette().color(QPalette::Window));
        m_client->setPalette(palette);
    }
    m_childOrigin = entry.childOrigin;
    if (entry.tkLook)
        tk::paintAsTkRoot(m_client);
    if (entry.centred) {
        m_centring = true;
        centre();
    } else {
        m_outer->move(toScreen(QRect(entry.position, QSize()), scale()).topLeft());
    }
    m_outer->installEventFilter(this);
}

WindowControl::~WindowControl()
{
    delete m_outer.data();
}

QWidget *WindowControl::widget() const
{
    return m_outer;
}

QWidget *WindowControl::clientWidget() const
{
    return m_client;
}

QSize WindowControl::clientSize() const
{
    // A hidden sub-window lays its widget out only when shown; its frame is its contents margins.
    if (m_subWindow)
        return m_subWindow->contentsRect().size().expandedTo(QSize(0, 0));
    return m_client->size();
}

QRect WindowControl::screenGeometry() const
{
    if (m_outer->isWindow())
        return m_outer->frameGeometry();
    return placedRect(m_outer->geometry(), placingOrigin());
}

void WindowControl::setScreenGeometry(const QRect &rect)
{
    if (m_outer->isWindow()) {
        // Qt places and sizes a top-level window by its client area; the frame is the window manager's.
        const QRect frame = m_outer->frameGeometry();
        const QRect client = m_outer->geometry();
        const int extraWidth = frame.width() - client.width();
        const int extraHeight = frame.height() - client.height();
        m_outer->move(rect.topLeft());
        m_outer->resize(qMax(0, rect.width() - extraWidth), qMax(0, rect.height() - extraHeight));
    } else {
        m_outer->setGeometry(shownRect(rect, placingOrigin()));
    }
}

QVariant WindowControl::read(Prop index, int) const
{
    switch (index) {
    case Prop::WindowTitle:
        return m_outer->windowTitle();
    case Prop::WindowState:
        if (m_outer->isMinimized())
            return 2;
        if (m_outer->isMaximized())
            return 3;
        return 0;
    default:
        return {};
    }
}

bool WindowControl::write(Prop index, int, const QVariant &value)
{
    switch (index) {
    case Prop::WindowTitle:
        m_outer->setWindowTitle(value.toString());
        m_outer->setAccessibleName(value.toString());
        return true;
    case Prop::WindowState:
        switch (value.toInt()) {
        case 0:
            if (m_outer->isMinimized() || m_outer->isMaximized())
                m_outer->showNormal();
            break;
        case 1: {
            QRect rect = screenGeometry();
            rect.moveCenter(availableArea().center());
            setScreenGeometry(rect);
            break;
        }
        case 2: m_outer->showMinimized(); break;
        case 3: m_outer->showMaximized(); break;
        default: break;
        }
        return true;
    default:
        return false;
    }
}

void WindowControl::setSizeLimits(QSize smallestClient, QSize largestOuter)
{
    m_outer->setMinimumSize(smallestClient);
    m_largestOuter = largestOuter;
    applyLargestSize();
}

void WindowControl::fitStartSize()
{
    const QSize frame = frameOf(m_outer);
    if (frame.isEmpty())
        return;
    if (m_cutStartSize) {
        const QSize fitted = m_cutStartSize->boundedTo(clientRoom(availableArea().size(), frame));
        m_cutStartSize.reset();
        if (fitted.width() > m_outer->width() || fitted.height() > m_outer->height())
            m_outer->resize(fitted.expandedTo(m_outer->size()));
    }
    if (m_centring) {
        m_centring = false;
        centre();
    }
}

void WindowControl::centre()
{
    const QRect area = availableArea();
    QRect outer(QPoint(), m_outer->size() + frameOf(m_outer));
    outer.moveCenter(area.center());
    m_outer->move(qMax(outer.left(), area.left()), qMax(outer.top(), area.top()));
}

void WindowControl::applyLargestSize()
{
    // Dragging the frame and writing the size stop at the same smallest client, one pixel each way.
    if (m_subWindow && !m_subWindow->isMinimized()) {
        const QSize smallest = smallestFramedSize(m_subWindow);
        if (smallest != m_subWindow->minimumSize())
            m_subWindow->setMinimumSize(smallest);
    }
    if (m_outer->isWindow())
        fitStartSize();
    if (!m_largestOuter)
        return;
    const QSize largest = clientRoom(*m_largestOuter, frameOf(m_outer));
    // A window that started at the largest size it could, with a frame larger than reckoned with,
    // gives up the rest of its smallest size: it must fit the screen.
    const QSize smallest = m_outer->minimumSize().boundedTo(largest);
    if (smallest != m_outer->minimumSize())
        m_outer->setMinimumSize(smallest);
    if (largest != m_outer->maximumSize())
        m_outer->setMaximumSize(largest);
}

void WindowControl::startReporting()
{
    m_reported = m_outer->geometry();
    m_reporting = true;
}

bool WindowControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_outer)
        return false;
    switch (event->type()) {
    case QEvent::Close:
        if (!raise(Event::MayClose)) {
            event->ignore();
            return true;
        }
        return false;
    case QEvent::Show:
        applyLargestSize();
        if (m_outer->isWindow())
            x11::nameDesktopEntry(m_outer->winId(), QGuiApplication::desktopFileName().toUtf8());
        return false;
    case QEvent::WindowStateChange:
        applyLargestSize();
        // Minimizing or maximizing a window moves it on every platform we know of; report it as the
        // move it is, so that a window that must stay put can restore itself.
        if (!m_subWindow && m_reporting && (m_outer->isMinimized() || m_outer->isMaximized()))
            raise(Event::PositionChanged);
        return false;
    case QEvent::Move:
    case QEvent::Resize: {
        applyLargestSize();
        if (!m_reporting)
            return false;
        // Qt repeats geometry notices (a hidden window gets its pending ones when first shown), and a
        // top-level window's frame appears only once it is shown; only a real change is an event.
        const QRect now = m_outer->geometry();
        const bool moved = now.topLeft() != m_reported.topLeft();
        const bool resized = now.size() != m_reported.size();
        m_reported = now;
        if (moved)
            raise(Event::PositionChanged);
        if (resized)
            raise(Event::SizeChanged);
        return false;
    }
    default:
        return false;
    }
}

} // namespace widgets
