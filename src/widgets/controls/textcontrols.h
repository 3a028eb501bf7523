#pragma once

#include "widgets/controls/fontedcontrol.h"

class QAbstractButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace widgets {

class LabelControl : public FontedControl
{
public:
    explicit LabelControl(QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

private:
    QLabel *m_label;
    QString m_text;
};

class EntryFieldControl : public FontedControl
{
public:
    explicit EntryFieldControl(QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

private:
    QLineEdit *m_edit;
};

class PushButtonControl : public QObject, public FontedControl
{
    Q_OBJECT
public:
    explicit PushButtonControl(QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

private:
    QPushButton *m_button;
    QString m_caption;
};

// Whether a click changes a check box's or radio button's state. One in Tk's look never does: it
// shows what Tk shows for the program, whatever is pressed in the designer.
struct ClickToggling
{
    bool togglesOnClick = true;
};

// Check boxes and radio buttons share their caption, font and checked state.
class CheckControl : public FontedControl
{
public:
    struct TogglingButton
    {
        QAbstractButton *button;
        ClickToggling *toggling;
    };
    CheckControl(ControlType type, TogglingButton button);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

private:
    QAbstractButton *m_button;
    ClickToggling *m_toggling;
    QString m_caption;
};

class CheckBoxControl : public CheckControl
{
public:
    explicit CheckBoxControl(QWidget *parent);
};

class RadioButtonControl : public CheckControl
{
public:
    explicit RadioButtonControl(QWidget *parent);
};

} // namespace widgets
