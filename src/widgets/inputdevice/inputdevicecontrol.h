#pragma once

#include "widgets/control.h"

#include <QObject>

namespace widgets {

class InputDeviceMonitor;

// The invisible input-device control: a hidden stand-in widget for the layer's geometry and a
// mouse monitor that raises ButtonChanged (key, state) and DeviceMoved (x, y, z, dx, dy, dz).
// The monitor is not started here; whoever sets the device up calls monitor()->start().
class InputDeviceControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit InputDeviceControl(QWidget *parent);

    QWidget *widget() const override;

    InputDeviceMonitor *monitor() const { return m_monitor; }

private:
    QWidget *m_widget;
    InputDeviceMonitor *m_monitor;
};

} // namespace widgets
