#pragma once

#include "widgets/control.h"

#include <QObject>
#include <QPointer>

namespace widgets {

class PropertyGridView;

// A grid of a layout table: row and column counts by index, grid-line colour, row height and
// background from the look; raises EditEnded after every in-place edit. The cell operations are
// the grid's own (grid()).
class GridControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit GridControl(QWidget *parent);
    // Takes its grid with it: a grid left behind would go on reporting edits for a control that is gone.
    ~GridControl() override;

    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    PropertyGridView *grid() const { return m_grid; }

private:
    PropertyGridView *m_grid;
    QPointer<PropertyGridView> m_gridAlive;   // null once a window took the grid down first
};

} // namespace widgets
