#include "widgets/propertygrid/gridlook.h"

#include "widgets/screenscaling.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionHeader>

namespace widgets {

GridStyle::GridStyle(QObject *owner) : QProxyStyle(QStyleFactory::create(QApplication::style()->name()))
{
    setParent(owner);
}

int GridStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                         QStyleHintReturn *returnData) const
{
    if (hint == SH_Table_GridLineColor && m_colours.lines.isValid())
        return int(m_colours.lines.rgba());
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void GridStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    if (element == CE_HeaderEmptyArea) {
        painter->fillRect(option->rect, m_colours.background);
        return;
    }
    const auto *header = qstyleoption_cast<const QStyleOptionHeader *>(option);
    if (element != CE_Header || !header) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    const QRect &rect = header->rect;
    painter->save();
    painter->fillRect(rect, m_colours.sectionBack);
    painter->setPen(m_colours.lines);
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    const QRect textRect = rect.adjusted(toScreen(3), 0, -toScreen(4), -1);
    painter->setPen(m_colours.sectionText);
    painter->drawText(textRect, int(header->textAlignment),
                      painter->fontMetrics().elidedText(header->text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

} // namespace widgets
