#include "widgets/control.h"

namespace widgets {

QVariant Control::read(Prop, int) const
{
    return {};
}

bool Control::write(Prop, int, const QVariant &)
{
    return false;
}

void Control::applyLook(const ControlLook &)
{
}

bool Control::raise(Event event, const EventArgs &args) const
{
    return m_sink ? m_sink(event, args) : true;
}

} // namespace widgets
