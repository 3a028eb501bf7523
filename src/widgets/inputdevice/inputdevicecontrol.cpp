#include "widgets/inputdevice/inputdevicecontrol.h"

#include "widgets/inputdevice/inputdevicemonitor.h"

namespace widgets {

namespace {

// Stands in for the control where the layer expects a widget. It never shows, whatever the layer
// writes to the visible property, so it can never cover or take a click from another control.
class HiddenWidget : public QWidget
{
public:
    using QWidget::QWidget;

    void setVisible(bool) override { QWidget::setVisible(false); }
};

} // namespace

InputDeviceControl::InputDeviceControl(QWidget *parent)
    : Control(ControlType::InputDevice), m_widget(new HiddenWidget(parent)), m_monitor(new InputDeviceMonitor(this))
{
    m_widget->resize(0, 0);
    m_widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_widget->setFocusPolicy(Qt::NoFocus);
    m_widget->hide();

    connect(m_monitor, &InputDeviceMonitor::buttonChanged, this,
            [this](int key, int state) { raise(Event::ButtonChanged, EventArgs{{key, state}}); });
    connect(m_monitor, &InputDeviceMonitor::moved, this, [this](int x, int y, int z, int dx, int dy, int dz) {
        raise(Event::DeviceMoved, EventArgs{{x, y, z, dx, dy, dz}});
    });
}

QWidget *InputDeviceControl::widget() const
{
    return m_widget;
}

} // namespace widgets
