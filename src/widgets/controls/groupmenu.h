#pragma once

#include "widgets/controls/groupheader.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

class QListWidget;

namespace widgets {

// A collapsible-group menu with one group: a header over a plain list of text items. The current
// item is the selected one, shown by its text colour on the menu background, not by a filled bar.
// The item a press lands on is chosen, whatever the pointer does before the button goes up; let go
// outside the list, it is dropped there.
// The font set on the menu is the font of both the header and the items.
class GroupMenu : public QWidget
{
    Q_OBJECT
public:
    explicit GroupMenu(QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const;

    // Replaces the items; there is no current item afterwards.
    void setItems(const QStringList &items);
    QStringList items() const;

    // The selected item, or -1. Setting -1 or a row outside the items clears it; collapsing the
    // group keeps it.
    int currentItem() const;
    void setCurrentItem(int row);

    bool isExpanded() const;
    void setExpanded(bool expanded);

    // Invalid colours stand for the palette's: base, text, highlight, text, mid.
    void setMenuBackground(const QColor &colour);
    void setItemTextColour(const QColor &colour);
    void setHotItemTextColour(const QColor &colour);
    void setSelectedItemTextColour(const QColor &colour);
    void setBorderColour(const QColor &colour);
    QColor menuBackground() const;
    QColor itemTextColour() const;
    QColor hotItemTextColour() const;
    QColor selectedItemTextColour() const;
    QColor borderColour() const;

    GroupHeader *header() const { return m_header; }
    QListWidget *itemList() const { return m_list; }

signals:
    void currentItemChanged(int row);
    void expandedChanged(bool expanded);
    // An item was pressed and the button let go outside the item list: dragged out of the menu.
    void itemDropped(int row);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateColours();

    GroupHeader *m_header;
    QListWidget *m_list;
    QColor m_background;
    QColor m_itemText;
    QColor m_hotItemText;
    QColor m_selectedItemText;
    QColor m_border;
    int m_pressedRow = -1;   // the item a held left button went down on
};

} // namespace widgets
