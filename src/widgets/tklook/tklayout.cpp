#include "widgets/tklook/tklayout.h"

namespace widgets::tk {

WidgetDefaults defaultsOf(WidgetClass widgetClass)
{
    WidgetDefaults defaults;
    switch (widgetClass) {
    case WidgetClass::Label:
        defaults.highlightThickness = 0;
        break;
    case WidgetClass::Entry:
        break;
    case WidgetClass::Button:
        // Its padding (3m) counts only for the size Tk asks for, which place() overrides.
        defaults.anchorWest = false;
        break;
    case WidgetClass::Radiobutton:
        defaults.indicator = true;
        break;
    case WidgetClass::Checkbutton:
        defaults.indicator = true;
        defaults.checkIndicator = true;
        break;
    }
    return defaults;
}

QPoint anchoredOrigin(bool anchorWest, QSize widget, int inset, int padX, QSize inner)
{
    const int x = anchorWest ? inset + padX : (widget.width() - inner.width() - 2 * inset) / 2 + inset;
    const int y = (widget.height() - inner.height() - 2 * inset) / 2 + inset;
    return QPoint(x, y);
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
