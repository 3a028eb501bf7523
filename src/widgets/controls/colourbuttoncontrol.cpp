#include "widgets/controls/colourbuttoncontrol.h"

#include "widgets/controls/colourbutton.h"
#include "widgets/controls/fontedcontrol.h"

namespace widgets {

namespace {

// Position of a state colour property in the control's table, or -1 for another index.
int colourSlot(Prop index)
{
    const int slot = int(index) - int(Prop::NormalText);
    return slot >= 0 && slot <= int(Prop::FocusBack) - int(Prop::NormalText) ? slot : -1;
}

QColor shownColour(Colour colour)
{
    return colour == DefaultColour ? QColor() : toQColor(colour);
}

} // namespace

ColourButtonControl::ColourButtonControl(QWidget *parent)
    : Control(ControlType::ColourButton), m_button(new ColourButton(parent))
{
    connect(m_button, &ColourButton::clicked, this, [this] { raise(Event::Clicked); });
}

QWidget *ColourButtonControl::widget() const
{
    return m_button;
}

QVariant ColourButtonControl::read(Prop index, int member) const
{
    if (index == Prop::ButtonCaption)
        return m_caption;
    if (const int slot = colourSlot(index); slot >= 0)
        return m_colours[slot];
    return Control::read(index, member);
}

bool ColourButtonControl::write(Prop index, int member, const QVariant &value)
{
    if (index == Prop::ButtonCaption) {
        m_caption = value.toString();
        m_button->setText(literalCaption(m_caption));
        m_button->setAccessibleName(m_caption);
        return true;
    }
    const int slot = colourSlot(index);
    if (slot < 0)
        return Control::write(index, member, value);
    m_colours[slot] = value.value<Colour>();
    // Slots come in (text, background) pairs, one pair per drawing state.
    const auto state = ColourButton::DrawingState(slot / 2);
    if (slot % 2 == 0)
        m_button->setTextColour(state, shownColour(m_colours[slot]));
    else
        m_button->setBackgroundColour(state, shownColour(m_colours[slot]));
    return true;
}

} // namespace widgets
