#include "widgets/controls/textcontrols.h"

#include "widgets/tklook/tklook.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace widgets {

namespace {

// Line breaks are kept as typed; Qt draws a lone line feed as the break and would show a return as a box.
QString shownText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void setRoleColour(QWidget *widget, QPalette::ColorRole role, const QVariant &value)
{
    const Colour colour = value.toUInt();
    QPalette palette = widget->palette();
    if (colour == DefaultColour)
        palette.setColor(role, widget->style()->standardPalette().color(role));
    else
        palette.setColor(role, toQColor(colour));
    widget->setPalette(palette);
    if (role == QPalette::Window)
        widget->setAutoFillBackground(colour != DefaultColour);
}

// A check box that a click ticks or clears, unless its state is the program's alone.
class ToggledCheckBox : public QCheckBox, public ClickToggling
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        if (togglesOnClick)
            QCheckBox::nextCheckState();
    }
};

// A radio button that behaves like a platform auto radio button: a click selects it and clears its
// siblings, a click on a selected one keeps it selected, and setting one in code touches no other.
class AutoRadioButton : public QRadioButton, public ClickToggling
{
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override
    {
        if (!togglesOnClick)
            return;
        const auto siblings = parentWidget() ? parentWidget()->findChildren<QRadioButton *>(
                                                   QString(), Qt::FindDirectChildrenOnly)
                                             : QList<QRadioButton *>();
        for (QRadioButton *sibling : siblings) {
            if (sibling != this && sibling->isVisible())
                sibling->setChecked(false);
        }
        setChecked(true);
    }
};

template<typename Button>
CheckControl::TogglingButton togglingButton(Button *button)
{
    return {button, button};
}

} // namespace

LabelControl::LabelControl(QWidget *parent)
    : FontedControl(ControlType::Label, Prop::LabelFont), m_label(new QLabel(parent))
{
    m_label->setTextFormat(Qt::PlainText);
}

QWidget *LabelControl::widget() const
{
    return m_label;
}

QVariant LabelControl::read(Prop index, int member) const
{
    switch (index) {
    case Prop::LabelText: return m_text;
    case Prop::LabelTextColour: return fromQColor(m_label->palette().color(QPalette::WindowText));
    case Prop::LabelBackColour: return fromQColor(m_label->palette().color(QPalette::Window));
    default: return FontedControl::read(index, member);
    }
}

bool LabelControl::write(Prop index, int member, const QVariant &value)
{
    switch (index) {
    case Prop::LabelText:
        m_text = value.toString();
        m_label->setText(shownText(m_text));
        return true;
    case Prop::LabelTextColour:
        setRoleColour(m_label, QPalette::WindowText, value);
        return true;
    case Prop::LabelBackColour:
        setRoleColour(m_label, QPalette::Window, value);
        return true;
    default:
        return FontedControl::write(index, member, value);
    }
}

void LabelControl::applyLook(const ControlLook &look)
{
    m_label->setAlignment(look.alignment);
    m_label->setWordWrap(look.wordWrap);
    m_label->setFrameStyle(look.border ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
    if (look.tkLook)
        tk::paintAsTk(m_label, tk::WidgetClass::Label, [this] { return tk::Content{m_text, font()}; });
}

EntryFieldControl::EntryFieldControl(QWidget *parent)
    : FontedControl(ControlType::EntryField, Prop::EntryFont), m_edit(new QLineEdit(parent))
{
}

QWidget *EntryFieldControl::widget() const
{
    return m_edit;
}

QVariant EntryFieldControl::read(Prop index, int member) const
{
    if (index == Prop::EntryText)
        return m_edit->text();
    return FontedControl::read(index, member);
}

bool EntryFieldControl::write(Prop index, int member, const QVariant &value)
{
    if (index == Prop::EntryText) {
        m_edit->setText(value.toString());
        return true;
    }
    return FontedControl::write(index, member, value);
}

void EntryFieldControl::applyLook(const ControlLook &look)
{
    m_edit->setFrame(look.border);
    if (look.tkLook) {
        // The program creates its entries empty, and the design shows them so: nothing typed sticks.
        m_edit->setReadOnly(true);
        tk::paintAsTk(m_edit, tk::WidgetClass::Entry, [this] { return tk::Content{QString(), font()}; });
    }
}

PushButtonControl::PushButtonControl(QWidget *parent)
    : FontedControl(ControlType::PushButton, Prop::ButtonFont), m_button(new QPushButton(parent))
{
    connect(m_button, &QPushButton::clicked, this, [this] { raise(Event::Clicked); });
}

QWidget *PushButtonControl::widget() const
{
    return m_button;
}

QVariant PushButtonControl::read(Prop index, int member) const
{
    if (index == Prop::ButtonCaption)
        return m_caption;
    return FontedControl::read(index, member);
}

bool PushButtonControl::write(Prop index, int member, const QVariant &value)
{
    if (index == Prop::ButtonCaption) {
        m_caption = value.toString();
        m_button->setText(literalCaption(shownText(m_caption)));
        m_button->setAccessibleName(m_caption);
        return true;
    }
    return FontedControl::write(index, member, value);
}

void PushButtonControl::applyLook(const ControlLook &look)
{
    if (look.tkLook) {
        tk::paintAsTk(m_button, tk::WidgetClass::Button, [this] {
            return tk::Content{m_caption, font(), false, m_button->isDown()};
        });
    }
}

CheckControl::CheckControl(ControlType type, TogglingButton button)
    : FontedControl(type, Prop::CheckFont), m_button(button.button), m_toggling(button.toggling)
{
}

QWidget *CheckControl::widget() const
{
    return m_button;
}

QVariant CheckControl::read(Prop index, int member) const
{
    switch (index) {
    case Prop::CheckCaption: return m_caption;
    case Prop::Checked: return m_button->isChecked();
    default: return FontedControl::read(index, member);
    }
}

bool CheckControl::write(Prop index, int member, const QVariant &value)
{
    switch (index) {
    case Prop::CheckCaption:
        m_caption = value.toString();
        m_button->setText(literalCaption(shownText(m_caption)));
        m_button->setAccessibleName(m_caption);
        return true;
    case Prop::Checked:
        m_button->setChecked(value.toBool());
        return true;
    default:
        return FontedControl::write(index, member, value);
    }
}

void CheckControl::applyLook(const ControlLook &look)
{
    if (!look.tkLook)
        return;
    // It shows what Tk shows for the program, which no click in the designer changes.
    m_toggling->togglesOnClick = false;
    const tk::WidgetClass widgetClass =
        type() == ControlType::CheckBox ? tk::WidgetClass::Checkbutton : tk::WidgetClass::Radiobutton;
    tk::paintAsTk(m_button, widgetClass, [this] {
        return tk::Content{m_caption, font(), m_button->isChecked(), m_button->isDown()};
    });
}

CheckBoxControl::CheckBoxControl(QWidget *parent) : CheckControl(ControlType::CheckBox, togglingButton(new ToggledCheckBox(parent)))
{
}

RadioButtonControl::RadioButtonControl(QWidget *parent)
    : CheckControl(ControlType::RadioButton, togglingButton(new AutoRadioButton(parent)))
{
    static_cast<QRadioButton *>(widget())->setAutoExclusive(false);
}

} // namespace widgets
