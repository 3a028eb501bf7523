#pragma once

#include <QColor>
#include <QProxyStyle>

namespace widgets {

// The property grid's own colours.
struct GridColours
{
    QColor lines;
    QColor background;   // of the header beyond its last section
    QColor sectionBack;  // of the fixed cells
    QColor sectionText;
};

// The property grid's style, set on the grid and its headers: the grid's line colour, and fixed
// cells drawn flat in the button face, ruled right and below like the cells, their text set in by
// 3 pixels on either side. Everything else is the application style's.
class GridStyle : public QProxyStyle
{
    Q_OBJECT
public:
    explicit GridStyle(QObject *owner);

    void setColours(const GridColours &colours) { m_colours = colours; }
    const GridColours &colours() const { return m_colours; }

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;

private:
    GridColours m_colours;
};

} // namespace widgets
