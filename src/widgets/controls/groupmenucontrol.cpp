#include "widgets/controls/groupmenucontrol.h"

#include "widgets/controls/groupmenu.h"

namespace widgets {

namespace {

// Position of a header colour property in the control's table, or -1 for another index.
int headerSlot(Prop index)
{
    const int slot = int(index) - int(Prop::MenuHeaderBackNormal);
    return slot >= 0 && slot <= int(Prop::MenuHeaderTextSelected) - int(Prop::MenuHeaderBackNormal) ? slot : -1;
}

QColor shownColour(Colour colour)
{
    return colour == DefaultColour ? QColor() : toQColor(colour);
}

} // namespace

GroupMenuControl::GroupMenuControl(QWidget *parent)
    : Control(ControlType::GroupMenu), m_menu(new GroupMenu(parent))
{
    connect(m_menu, &GroupMenu::currentItemChanged, this, [this] {
        if (!m_writing)
            raise(Event::SelectionChanged);
    });
    connect(m_menu, &GroupMenu::itemDropped, this, [this](int row) { raise(Event::ItemDropped, EventArgs{{row}}); });
}

QWidget *GroupMenuControl::widget() const
{
    return m_menu;
}

QVariant GroupMenuControl::read(Prop index, int member) const
{
    if (index == Prop::MenuCurrentItem)
        return m_menu->currentItem();
    if (const int slot = headerSlot(index); slot >= 0)
        return m_headerColours[slot];
    return Control::read(index, member);
}

bool GroupMenuControl::write(Prop index, int member, const QVariant &value)
{
    if (index == Prop::MenuCurrentItem) {
        // A choice of the program's own is no choice of the user's.
        m_writing = true;
        m_menu->setCurrentItem(value.toInt());
        m_writing = false;
        return true;
    }
    const int slot = headerSlot(index);
    if (slot < 0)
        return Control::write(index, member, value);
    m_headerColours[slot] = value.value<Colour>();
    // The property order of the states (normal, pressed, hot, selected) is the header's own.
    const auto state = GroupHeader::State(slot % GroupHeader::StateCount);
    if (slot < GroupHeader::StateCount)
        m_menu->header()->setBackgroundColour(state, shownColour(m_headerColours[slot]));
    else
        m_menu->header()->setTextColour(state, shownColour(m_headerColours[slot]));
    return true;
}

void GroupMenuControl::applyLook(const ControlLook &look)
{
    m_menu->setTitle(look.groupTitle);
    m_menu->setItems(look.items);
    m_menu->setMenuBackground(shownColour(look.background));
    m_menu->setItemTextColour(shownColour(look.menuItemText));
    m_menu->setHotItemTextColour(shownColour(look.menuItemHotText));
    m_menu->setSelectedItemTextColour(shownColour(look.menuItemSelectedText));
    m_menu->setBorderColour(shownColour(look.menuBorder));
}

} // namespace widgets
