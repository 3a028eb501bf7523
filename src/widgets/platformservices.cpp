#include "widgets/widgetlayer.h"

#include "widgets/screenmetrics.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QImage>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

// What the layer offers beyond its windows: message boxes, the screen and the pointer, waiting while
// events go on, and the end of the program.
namespace widgets {

int WidgetLayer::messageBox(const QString &text, int flags, const QString &caption, std::optional<ControlRef> owner)
{
    QMessageBox box(owner ? widget(*owner) : nullptr);
    box.setText(text);
    box.setWindowTitle(caption);
    switch (flags & 0xF0) {
    case MessageBoxFlag::IconError: box.setIcon(QMessageBox::Critical); break;
    case MessageBoxFlag::IconQuestion: box.setIcon(QMessageBox::Question); break;
    case MessageBoxFlag::IconWarning: box.setIcon(QMessageBox::Warning); break;
    case MessageBoxFlag::IconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0x0F) {
    case MessageBoxFlag::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageBoxFlag::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return MessageBoxAnswer::Cancel;
    case QMessageBox::Yes: return MessageBoxAnswer::Yes;
    case QMessageBox::No: return MessageBoxAnswer::No;
    default: return MessageBoxAnswer::Ok;
    }
}

int WidgetLayer::screenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

int WidgetLayer::screenHeight()
{
    return QGuiApplication::primaryScreen()->geometry().height();
}

QSize WidgetLayer::availableScreenSize()
{
    return fromScreen(availableArea().size(), interfaceScale());
}

int WidgetLayer::pointerX()
{
    return QCursor::pos().x();
}

int WidgetLayer::pointerY()
{
    return QCursor::pos().y();
}

void WidgetLayer::redraw(const ControlRef &ref)
{
    if (QWidget *found = widget(ref)) {
        if (ref.control == WindowItself)
            found->repaint();
        else
            found->update();
    }
}

void WidgetLayer::preparePainting(const ControlRef &ref)
{
    QWidget *found = widget(ref);
    if (!found || found->size().isEmpty())
        return;
    QImage scratch(found->size().boundedTo(QSize(4096, 4096)), QImage::Format_RGB32);
    found->render(&scratch);
}

void WidgetLayer::processPendingEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void WidgetLayer::waitProcessingEvents(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void WidgetLayer::endProgram(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

void WidgetLayer::fatalFault(int number, const QString &message, const QString &place)
{
    m_ended = true;
    messageBox(QStringLiteral("运行时出错!\n错误号: %1\n%2\n位置: %3").arg(number).arg(message, place),
               MessageBoxFlag::IconError, QStringLiteral("Kestrigan"));
    endProgram(1);
}

} // namespace widgets
