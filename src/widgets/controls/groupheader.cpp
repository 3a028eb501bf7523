#include "widgets/controls/groupheader.h"

#include "widgets/screenscaling.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

namespace widgets {

namespace {

// Lengths at 96 dots per inch, scaled with the interface.
constexpr int ChevronInset = 12;   // from the right edge to the chevron's centre
// Kept clear at both sides, so that the centred title never runs under the chevron.
constexpr int TitleMargin = 2 * ChevronInset;
constexpr int Padding = 10;        // added to the font height for the header's height

QColor orPalette(const QColor &colour, const QWidget *widget, QPalette::ColorRole role)
{
    return colour.isValid() ? colour : widget->palette().color(role);
}

} // namespace

GroupHeader::GroupHeader(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void GroupHeader::setTextColour(State state, const QColor &colour)
{
    m_text[state] = colour;
    update();
}

void GroupHeader::setBackgroundColour(State state, const QColor &colour)
{
    m_background[state] = colour;
    update();
}

QColor GroupHeader::textColour(State state) const
{
    return orPalette(m_text[state], this, QPalette::HighlightedText);
}

QColor GroupHeader::backgroundColour(State state) const
{
    return orPalette(m_background[state], this, QPalette::Highlight);
}

void GroupHeader::setExpanded(bool expanded)
{
    m_expanded = expanded;
    update();
}

// With a single group the header is always its menu's current group, so "selected" alone would
// leave the normal colours unused; the open group counts as selected instead, the closed one as
// normal. Pressing wins over pointing, and both over the resting states.
GroupHeader::State GroupHeader::state() const
{
    if (isDown())
        return Pressed;
    if (m_hovered)
        return Hot;
    return m_expanded ? Selected : Normal;
}

QSize GroupHeader::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(text()) + 2 * toScreen(TitleMargin), metrics.height() + toScreen(Padding));
}

QSize GroupHeader::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void GroupHeader::paintEvent(QPaintEvent *)
{
    const State current = state();
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour(current));
    painter.setPen(textColour(current));
    painter.setFont(font());
    const QRect textRect = rect().adjusted(toScreen(TitleMargin), 0, -toScreen(TitleMargin), 0);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));

    // A small chevron at the right: down while open, right while closed.
    const qreal size = 3.5 * interfaceScale();
    const QPointF centre(width() - toScreen(ChevronInset), height() / 2.0);
    QPainterPath chevron;
    if (m_expanded) {
        chevron.moveTo(centre + QPointF(-size, -size / 2));
        chevron.lineTo(centre + QPointF(0, size / 2));
        chevron.lineTo(centre + QPointF(size, -size / 2));
    } else {
        chevron.moveTo(centre + QPointF(-size / 2, -size));
        chevron.lineTo(centre + QPointF(size / 2, 0));
        chevron.lineTo(centre + QPointF(-size / 2, size));
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(textColour(current), 1.5 * interfaceScale()));
    painter.drawPath(chevron);
}

void GroupHeader::keyPressEvent(QKeyEvent *event)
{
    // Space is a button's own key; Enter is added because a header is where one expects it too.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->isAutoRepeat()) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

void GroupHeader::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void GroupHeader::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void GroupHeader::hideEvent(QHideEvent *event)
{
    m_hovered = false;
    QAbstractButton::hideEvent(event);
}

} // namespace widgets
