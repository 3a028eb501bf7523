#pragma once

#include "widgets/colour.h"
#include "widgets/control.h"

#include <QObject>
#include <QString>

namespace widgets {

class ColourButton;

// A colour button of a layout table: six state colours by index and a caption; raises Clicked.
class ColourButtonControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit ColourButtonControl(QWidget *parent);

    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;

    ColourButton *button() const { return m_button; }

private:
    ColourButton *m_button;
    QString m_caption;   // as written: the button shows it with "&" escaped
    // As written, so that DefaultColour reads back as itself; in index order NormalText..FocusBack.
    Colour m_colours[6] = {DefaultColour, DefaultColour, DefaultColour,
                           DefaultColour, DefaultColour, DefaultColour};
};

} // namespace widgets
