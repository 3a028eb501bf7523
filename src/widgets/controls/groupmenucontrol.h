#pragma once

#include "widgets/colour.h"
#include "widgets/control.h"

#include <QObject>

namespace widgets {

class GroupMenu;

// A collapsible-group menu of a layout table: its items, title and role colours come from the
// look, the current item and the eight header colours are properties. It raises selection changed
// when the user chooses an item, and item dropped when an item pressed is let go outside the menu.
class GroupMenuControl : public QObject, public Control
{
public:
    explicit GroupMenuControl(QWidget *parent);

    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    GroupMenu *menu() const { return m_menu; }

private:
    GroupMenu *m_menu;
    bool m_writing = false;
    // As written, so that DefaultColour reads back as itself; in index order, backgrounds
    // (normal, pressed, hot, selected) then texts.
    Colour m_headerColours[8] = {DefaultColour, DefaultColour, DefaultColour, DefaultColour,
                                 DefaultColour, DefaultColour, DefaultColour, DefaultColour};
};

} // namespace widgets
