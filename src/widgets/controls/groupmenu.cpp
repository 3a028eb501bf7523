#include "widgets/controls/groupmenu.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace widgets {

namespace {

constexpr int ItemIndent = 12;    // left padding of an item's text
constexpr int ItemPadding = 10;   // added to the font height for an item's or the header's height

QColor orPalette(const QColor &colour, const QWidget *widget, QPalette::ColorRole role)
{
    return colour.isValid() ? colour : widget->palette().color(role);
}

// Draws an item as text only: the current item keeps the menu background and is marked by its
// text colour, a light outline and a short bar at its left edge, so that it stands out without
// the heavy highlight of a standard list.
class GroupItemDelegate : public QStyledItemDelegate
{
public:
    explicit GroupItemDelegate(GroupMenu *menu) : QStyledItemDelegate(menu), m_menu(menu) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        const bool hot = option.state & QStyle::State_MouseOver;
        if (selected) {
            const QRectF outline = QRectF(option.rect).adjusted(2.5, 1.5, -2.5, -1.5);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(m_menu->borderColour());
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(outline, 3, 3);
            painter->setRenderHint(QPainter::Antialiasing, false);
            painter->fillRect(QRect(option.rect.left() + 4, option.rect.top() + 6, 3, option.rect.height() - 12),
                              m_menu->selectedItemTextColour());
        }
        // Selected wins over hot: the current tool must stay recognisable under the pointer.
        painter->setPen(selected ? m_menu->selectedItemTextColour()
                                 : hot ? m_menu->hotItemTextColour() : m_menu->itemTextColour());
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(ItemIndent, 0, -4, 0);
        const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                           Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), option.fontMetrics.height() + ItemPadding);
    }

private:
    GroupMenu *m_menu;
};

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
    return QSize(metrics.horizontalAdvance(text()) + 2 * ItemIndent + 16, metrics.height() + ItemPadding);
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
    const QRect textRect = rect().adjusted(ItemIndent + 12, 0, -(ItemIndent + 12), 0);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine,
                     fontMetrics().elidedText(text(), Qt::ElideRight, textRect.width()));

    // A small chevron at the right: down while open, right while closed.
    const qreal size = 3.5;
    const QPointF centre(width() - ItemIndent, height() / 2.0);
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
    painter.setPen(QPen(textColour(current), 1.5));
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

GroupMenu::GroupMenu(QWidget *parent)
    : QWidget(parent), m_header(new GroupHeader(this)), m_list(new QListWidget(this))
{
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new GroupItemDelegate(this));
    // Hover is what gives the item under the pointer its colour.
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);   // room for the border
    layout->setSpacing(0);
    layout->addWidget(m_header);
    layout->addWidget(m_list, 1);
    layout->addStretch(0);   // keeps the header at the top while the items are hidden
    setFocusProxy(m_list);

    connect(m_header, &GroupHeader::clicked, this, [this] { setExpanded(!isExpanded()); });
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { emit currentItemChanged(currentItem()); });
    updateColours();
}

void GroupMenu::setTitle(const QString &title)
{
    m_header->setText(title);
}

QString GroupMenu::title() const
{
    return m_header->text();
}

void GroupMenu::setItems(const QStringList &items)
{
    m_list->clear();
    m_list->addItems(items);
}

QStringList GroupMenu::items() const
{
    QStringList texts;
    for (int row = 0; row < m_list->count(); ++row)
        texts.append(m_list->item(row)->text());
    return texts;
}

int GroupMenu::currentItem() const
{
    const QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

void GroupMenu::setCurrentItem(int row)
{
    if (row >= 0 && row < m_list->count()) {
        m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        return;
    }
    m_list->setCurrentRow(-1, QItemSelectionModel::Clear);
    m_list->clearSelection();
}

bool GroupMenu::isExpanded() const
{
    return m_header->isExpanded();
}

void GroupMenu::setExpanded(bool expanded)
{
    if (expanded == isExpanded())
        return;
    m_header->setExpanded(expanded);
    m_list->setVisible(expanded);
    emit expandedChanged(expanded);
}

void GroupMenu::setMenuBackground(const QColor &colour)
{
    m_background = colour;
    updateColours();
}

void GroupMenu::setItemTextColour(const QColor &colour)
{
    m_itemText = colour;
    updateColours();
}

void GroupMenu::setHotItemTextColour(const QColor &colour)
{
    m_hotItemText = colour;
    updateColours();
}

void GroupMenu::setSelectedItemTextColour(const QColor &colour)
{
    m_selectedItemText = colour;
    updateColours();
}

void GroupMenu::setBorderColour(const QColor &colour)
{
    m_border = colour;
    updateColours();
}

QColor GroupMenu::menuBackground() const
{
    return orPalette(m_background, this, QPalette::Base);
}

QColor GroupMenu::itemTextColour() const
{
    return orPalette(m_itemText, this, QPalette::Text);
}

QColor GroupMenu::hotItemTextColour() const
{
    return orPalette(m_hotItemText, this, QPalette::Highlight);
}

QColor GroupMenu::selectedItemTextColour() const
{
    return orPalette(m_selectedItemText, this, QPalette::Text);
}

QColor GroupMenu::borderColour() const
{
    return orPalette(m_border, this, QPalette::Mid);
}

void GroupMenu::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), menuBackground());
    painter.setPen(borderColour());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void GroupMenu::updateColours()
{
    // The list paints its own background from Base; every state group gets the same colour so
    // that a disabled menu still shows its content as it was.
    QPalette palette = m_list->palette();
    palette.setColor(QPalette::Base, menuBackground());
    palette.setColor(QPalette::Window, menuBackground());
    m_list->setPalette(palette);
    m_list->viewport()->update();
    update();
}

} // namespace widgets
