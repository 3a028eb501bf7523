#include "model/propertydisplay.h"

#include "shell/designer.h"
#include "shell/mainwindowids.h"

namespace model {

using shell::ids::ComponentList;
using widgets::Prop;

void showProperties(shell::Designer &)
{
}

void addListEntry(shell::Designer &designer, const QString &entry)
{
    const int index = designer.layer.listAddItem(ComponentList, entry);
    designer.layer.writeProperty(ComponentList, Prop::ListSelection, index);
    showProperties(designer);
}

void selectListEntry(shell::Designer &designer, int index)
{
    designer.layer.writeProperty(ComponentList, Prop::ListSelection, index);
    showProperties(designer);
}

} // namespace model
