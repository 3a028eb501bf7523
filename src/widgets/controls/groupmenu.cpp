#include "widgets/controls/groupmenu.h"

#include "widgets/screenscaling.h"

#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <utility>

namespace widgets {

namespace {

constexpr int ItemIndent = 12;    // left padding of an item's text
constexpr int ItemPadding = 10;   // added to the font height for an item's height

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
            const qreal scale = interfaceScale();
            const QRectF outline = QRectF(option.rect).adjusted(2.5 * scale, 1.5 * scale, -2.5 * scale, -1.5 * scale);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(m_menu->borderColour());
            painter->setBrush(Qt::NoBrush);
            painter->drawRoundedRect(outline, 3 * scale, 3 * scale);
            painter->setRenderHint(QPainter::Antialiasing, false);
            const int inset = toScreen(6, scale);
            painter->fillRect(QRect(option.rect.left() + toScreen(4, scale), option.rect.top() + inset,
                                    toScreen(3, scale), option.rect.height() - 2 * inset),
                              m_menu->selectedItemTextColour());
        }
        // Selected wins over hot: the current tool must stay recognisable under the pointer.
        painter->setPen(selected ? m_menu->selectedItemTextColour()
                                 : hot ? m_menu->hotItemTextColour() : m_menu->itemTextColour());
        painter->setFont(option.font);
        const QRect textRect = option.rect.adjusted(toScreen(ItemIndent), 0, -toScreen(4), 0);
        const QString text = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                           Qt::ElideRight, textRect.width());
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const override
    {
        return QSize(option.rect.width(), option.fontMetrics.height() + toScreen(ItemPadding));
    }

private:
    GroupMenu *m_menu;
};

} // namespace

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
    m_list->viewport()->installEventFilter(this);

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

bool GroupMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_list->viewport())
        return false;
    QWidget *viewport = m_list->viewport();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex index = m_list->indexAt(mouse->position().toPoint());
            m_pressedRow = index.isValid() ? index.row() : -1;
        }
        return false;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton) || m_pressedRow < 0)
            return false;
        // The list would choose every item the pointer crosses; the pressed one stays chosen. Out of
        // the list, the pointer shows that the item goes with it.
        if (viewport->rect().contains(mouse->position().toPoint()))
            viewport->unsetCursor();
        else
            viewport->setCursor(Qt::DragCopyCursor);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        const int row = std::exchange(m_pressedRow, -1);
        viewport->unsetCursor();
        if (row >= 0 && !viewport->rect().contains(mouse->position().toPoint()))
            emit itemDropped(row);
        return false;
    }
    default:
        return false;
    }
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
