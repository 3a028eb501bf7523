#include "widgets/tklook/tklayout.h"

namespace widgets::tk {

ClassTraits traitsOf(WidgetClass widgetClass)
{
    ClassTraits traits;
    traits.indicator = widgetClass == WidgetClass::Radiobutton || widgetClass == WidgetClass::Checkbutton;
    traits.checkIndicator = widgetClass == WidgetClass::Checkbutton;
    return traits;
}

QPoint anchoredOrigin(Anchor anchor, QSize widget, int inset, QSize padding, QSize inner)
{
    int x = 0;
    switch (anchor) {
    case Anchor::NorthWest: case Anchor::West: case Anchor::SouthWest:
        x = inset + padding.width();
        break;
    case Anchor::North: case Anchor::Center: case Anchor::South:
        x = (widget.width() - inner.width() - 2 * inset) / 2 + inset;
        break;
    default:
        x = widget.width() - inset - padding.width() - inner.width();
        break;
    }
    int y = 0;
    switch (anchor) {
    case Anchor::NorthWest: case Anchor::North: case Anchor::NorthEast:
        y = inset + padding.height();
        break;
    case Anchor::West: case Anchor::Center: case Anchor::East:
        y = (widget.height() - inner.height() - 2 * inset) / 2 + inset;
        break;
    default:
        y = widget.height() - inset - padding.height() - inner.height();
        break;
    }
    return QPoint(x, y);
}

// ShiftByOffset, which Tk calls with an image size of 0 for text: the parity is the widget's own.
QPoint buttonTextShift(Relief relief, QSize widget)
{
    if (relief == Relief::Raised)
        return QPoint();
    const int shift = relief == Relief::Sunken ? 2 : 1;
    if (relief == Relief::Ridge)
        return QPoint(shift, shift);
    return QPoint(shift - (widget.width() % 2 == 0 ? 1 : 0), shift - (widget.height() % 2 == 0 ? 1 : 0));
}

int indicatorSpace(bool checkIndicator, int lineSpacing, int zeroWidth)
{
    const int diameter = checkIndicator ? (80 * lineSpacing) / 100 : lineSpacing;
    return diameter + zeroWidth;
}

QPoint indicatorCentre(int textLeft, int space, int widgetHeight)
{
    return QPoint(textLeft - space / 2, widgetHeight / 2);
}

} // namespace widgets::tk
