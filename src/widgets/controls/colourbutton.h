#pragma once

#include <QAbstractButton>
#include <QColor>

namespace widgets {

// A flat button that paints its caption centred, in one (text, background) colour pair per
// drawing state. Being a QAbstractButton, it is activated by Space like any button and is
// announced to screen readers as a push button named by its caption.
class ColourButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum DrawingState {
        Normal,   // neither pointed at, pressed nor focused
        Hot,      // the pointer is over it, or it is held down
        Focused,  // it has the keyboard focus and is neither pointed at nor pressed
        DrawingStateCount
    };

    explicit ColourButton(QWidget *parent = nullptr);

    // An invalid colour stands for the palette's colour of that role (button text, button).
    void setColours(DrawingState state, const QColor &text, const QColor &background);
    void setTextColour(DrawingState state, const QColor &text);
    void setBackgroundColour(DrawingState state, const QColor &background);
    QColor textColour(DrawingState state) const;
    QColor backgroundColour(DrawingState state) const;

    // The state the button is drawn in now.
    DrawingState drawingState() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct ColourPair
    {
        QColor text;
        QColor background;
    };

    ColourPair m_colours[DrawingStateCount];
    // Tracked here rather than read from underMouse(): Qt sets that only when it dispatches the
    // enter itself, and the hot look must follow every enter and leave the button is told of.
    bool m_hovered = false;
};

} // namespace widgets
