#pragma once

#include "widgets/control.h"

class QComboBox;
class QScrollBar;
class QStackedWidget;

namespace widgets {

// A pick-only drop-down list; entries are appended, never sorted.
class DropDownListControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit DropDownListControl(QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    int addItem(const QString &text);
    QString itemText(int index) const;
    int count() const;

private:
    QComboBox *m_combo;
};

class ScrollBarControl : public QObject, public Control
{
    Q_OBJECT
public:
    ScrollBarControl(ControlType type, QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

private:
    QScrollBar *m_bar;
    bool m_settingInCode = false;   // positions written by the program raise no event
};

// Pages of controls without tabs: the controls of a page that is not current stay hidden.
class PageContainerControl : public Control
{
public:
    explicit PageContainerControl(QWidget *parent);
    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    QWidget *page(int index) const;

private:
    QStackedWidget *m_stack;
};

// An outlined, filled rectangle.
class PlainRectangleControl : public Control
{
public:
    explicit PlainRectangleControl(QWidget *parent);
    QWidget *widget() const override;
    void applyLook(const ControlLook &look) override;

private:
    class Shape;
    Shape *m_shape;
};

} // namespace widgets
