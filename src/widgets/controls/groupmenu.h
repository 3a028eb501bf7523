#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QStringList>
#include <QWidget>

class QListWidget;

namespace widgets {

// The title bar of a group: clicking it, or Space or Enter while it has the focus, collapses or
// expands the group's items. It paints its title in one (text, background) pair per state.
class GroupHeader : public QAbstractButton
{
    Q_OBJECT
public:
    enum State {
        Normal,     // collapsed, neither pointed at nor pressed
        Pressed,    // held down
        Hot,        // the pointer is over it
        Selected,   // its group is the open one: expanded, neither pointed at nor pressed
        StateCount
    };

    explicit GroupHeader(QWidget *parent = nullptr);

    // An invalid colour stands for the palette's colour of the role (highlighted text, highlight).
    void setTextColour(State state, const QColor &colour);
    void setBackgroundColour(State state, const QColor &colour);
    QColor textColour(State state) const;
    QColor backgroundColour(State state) const;

    void setExpanded(bool expanded);
    bool isExpanded() const { return m_expanded; }

    State state() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QColor m_text[StateCount];
    QColor m_background[StateCount];
    bool m_expanded = true;
    bool m_hovered = false;   // see ColourButton: enter and leave are tracked, not asked of Qt
};

// A collapsible-group menu with one group: a header over a plain list of text items. The current
// item is the selected one, shown by its text colour on the menu background, not by a filled bar.
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateColours();

    GroupHeader *m_header;
    QListWidget *m_list;
    QColor m_background;
    QColor m_itemText;
    QColor m_hotItemText;
    QColor m_selectedItemText;
    QColor m_border;
};

} // namespace widgets
