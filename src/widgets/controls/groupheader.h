#pragma once

#include <QAbstractButton>
#include <QColor>

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

} // namespace widgets
