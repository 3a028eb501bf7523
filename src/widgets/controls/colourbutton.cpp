#include "widgets/controls/colourbutton.h"

#include <QEnterEvent>
#include <QPainter>
#include <QStyle>

namespace widgets {

ColourButton::ColourButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ColourButton::setColours(DrawingState state, const QColor &text, const QColor &background)
{
    m_colours[state] = ColourPair{text, background};
    update();
}

void ColourButton::setTextColour(DrawingState state, const QColor &text)
{
    setColours(state, text, m_colours[state].background);
}

void ColourButton::setBackgroundColour(DrawingState state, const QColor &background)
{
    setColours(state, m_colours[state].text, background);
}

QColor ColourButton::textColour(DrawingState state) const
{
    const QColor &colour = m_colours[state].text;
    return colour.isValid() ? colour : palette().color(QPalette::ButtonText);
}

QColor ColourButton::backgroundColour(DrawingState state) const
{
    const QColor &colour = m_colours[state].background;
    return colour.isValid() ? colour : palette().color(QPalette::Button);
}

ColourButton::DrawingState ColourButton::drawingState() const
{
    if (m_hovered || isDown())
        return Hot;
    if (hasFocus())
        return Focused;
    return Normal;
}

QSize ColourButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QSize caption = metrics.size(Qt::TextShowMnemonic, text().isEmpty() ? QStringLiteral("M") : text());
    return QSize(caption.width() + 2 * metrics.averageCharWidth(), caption.height() + 8);
}

QSize ColourButton::minimumSizeHint() const
{
    return QSize(0, 0);
}

void ColourButton::paintEvent(QPaintEvent *)
{
    const DrawingState state = drawingState();
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour(state));
    painter.setPen(textColour(state));
    painter.setFont(font());
    // Mnemonics are drawn as Qt buttons draw them, so a caption is shown as its owner escaped it.
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
}

void ColourButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ColourButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

// A hidden or disabled button is told of no leave; it must not come back drawn hot.
void ColourButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_hovered = false;
    QAbstractButton::changeEvent(event);
}

void ColourButton::hideEvent(QHideEvent *event)
{
    m_hovered = false;
    QAbstractButton::hideEvent(event);
}

} // namespace widgets
