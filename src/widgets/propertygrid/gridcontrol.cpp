#include "widgets/propertygrid/gridcontrol.h"

#include "widgets/propertygrid/propertygridview.h"

namespace widgets {

GridControl::GridControl(QWidget *parent)
    : Control(ControlType::Grid), m_grid(new PropertyGridView(parent)), m_gridAlive(m_grid)
{
    connect(m_grid, &PropertyGridView::editEnded, this, [this] { raise(Event::EditEnded); });
}

GridControl::~GridControl()
{
    delete m_gridAlive.data();
}

QWidget *GridControl::widget() const
{
    return m_grid;
}

QVariant GridControl::read(Prop index, int member) const
{
    switch (index) {
    case Prop::GridRows: return m_grid->rowCount();
    case Prop::GridColumns: return m_grid->columnCount();
    default: return Control::read(index, member);
    }
}

bool GridControl::write(Prop index, int member, const QVariant &value)
{
    switch (index) {
    case Prop::GridRows:
        m_grid->setRowCount(value.toInt());
        return true;
    case Prop::GridColumns:
        m_grid->setColumnCount(value.toInt());
        return true;
    default:
        return Control::write(index, member, value);
    }
}

// The grid always has one fixed row and one fixed column; the look's counts are not consulted.
void GridControl::applyLook(const ControlLook &look)
{
    m_grid->setDefaultRowHeight(toScreen(look.defaultRowHeight, scale()));
    m_grid->setColours(look.gridLines == DefaultColour ? QColor() : toQColor(look.gridLines),
                       look.background == DefaultColour ? QColor() : toQColor(look.background));
}

} // namespace widgets
