#include "widgets/controls/containercontrols.h"

#include "widgets/colour.h"

#include <QComboBox>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStackedWidget>

namespace widgets {

DropDownListControl::DropDownListControl(QWidget *parent)
    : Control(ControlType::DropDownList), m_combo(new QComboBox(parent))
{
    m_combo->setEditable(false);
    m_combo->setInsertPolicy(QComboBox::InsertAtBottom);
    // Only a choice of the user is an event; the program sets the selection silently.
    connect(m_combo, &QComboBox::activated, this, [this] { raise(Event::SelectionChanged); });
}

QWidget *DropDownListControl::widget() const
{
    return m_combo;
}

QVariant DropDownListControl::read(Prop index, int) const
{
    if (index == Prop::ListSelection)
        return m_combo->currentIndex();
    return {};
}

bool DropDownListControl::write(Prop index, int, const QVariant &value)
{
    if (index != Prop::ListSelection)
        return false;
    // An index past the end selects the last entry, one below -1 selects none.
    const int wanted = value.toInt();
    m_combo->setCurrentIndex(wanted < 0 ? -1 : qMin(wanted, m_combo->count() - 1));
    return true;
}

void DropDownListControl::applyLook(const ControlLook &look)
{
    if (look.background != DefaultColour) {
        QPalette palette = m_combo->palette();
        palette.setColor(QPalette::Base, toQColor(look.background));
        palette.setColor(QPalette::Button, toQColor(look.background));
        m_combo->setPalette(palette);
    }
}

int DropDownListControl::addItem(const QString &text)
{
    m_combo->addItem(text);
    return m_combo->count() - 1;
}

QString DropDownListControl::itemText(int index) const
{
    return (index >= 0 && index < m_combo->count()) ? m_combo->itemText(index) : QString();
}

int DropDownListControl::count() const
{
    return m_combo->count();
}

ScrollBarControl::ScrollBarControl(ControlType type, QWidget *parent)
    : Control(type),
      m_bar(new QScrollBar(type == ControlType::HorizontalScrollBar ? Qt::Horizontal : Qt::Vertical, parent))
{
    m_bar->setTracking(true);
    connect(m_bar, &QScrollBar::valueChanged, this, [this] {
        if (!m_settingInCode)
            raise(Event::ScrollChanged);
    });
}

QWidget *ScrollBarControl::widget() const
{
    return m_bar;
}

QVariant ScrollBarControl::read(Prop index, int) const
{
    switch (index) {
    case Prop::ScrollMaximum: return m_bar->maximum();
    case Prop::ScrollPosition: return m_bar->value();
    default: return {};
    }
}

bool ScrollBarControl::write(Prop index, int, const QVariant &value)
{
    const QScopedValueRollback<bool> silent(m_settingInCode, true);
    switch (index) {
    case Prop::ScrollMaximum: m_bar->setMaximum(value.toInt()); return true;
    case Prop::ScrollPosition: m_bar->setValue(value.toInt()); return true;
    default: return false;
    }
}

void ScrollBarControl::applyLook(const ControlLook &look)
{
    const QScopedValueRollback<bool> silent(m_settingInCode, true);
    m_bar->setMinimum(look.minimum);
    m_bar->setSingleStep(look.lineStep);
    m_bar->setPageStep(look.pageStep);
}

PageContainerControl::PageContainerControl(QWidget *parent)
    : Control(ControlType::PageContainer), m_stack(new QStackedWidget(parent))
{
}

QWidget *PageContainerControl::widget() const
{
    return m_stack;
}

QVariant PageContainerControl::read(Prop index, int) const
{
    if (index == Prop::CurrentPage)
        return m_stack->currentIndex();
    return {};
}

bool PageContainerControl::write(Prop index, int, const QVariant &value)
{
    if (index != Prop::CurrentPage)
        return false;
    const int page = value.toInt();
    if (page >= 0 && page < m_stack->count())
        m_stack->setCurrentIndex(page);
    return true;
}

void PageContainerControl::applyLook(const ControlLook &look)
{
    while (m_stack->count() < look.pageCount) {
        auto *page = new QWidget;
        if (look.background != DefaultColour) {
            page->setAutoFillBackground(true);
            QPalette palette = page->palette();
            palette.setColor(QPalette::Window, toQColor(look.background));
            page->setPalette(palette);
        }
        m_stack->addWidget(page);
    }
}

QWidget *PageContainerControl::page(int index) const
{
    return m_stack->widget(index);
}

class PlainRectangleControl::Shape : public QWidget
{
public:
    using QWidget::QWidget;
    QColor fill = Qt::white;
    QColor outline = Qt::white;
    int outlineWidth = 1;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), fill);
        if (outlineWidth > 0) {
            painter.setPen(QPen(outline, outlineWidth));
            painter.setBrush(Qt::NoBrush);
            // Keep the whole pen inside the rectangle.
            const int inset = outlineWidth / 2;
            painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
        }
    }
};

PlainRectangleControl::PlainRectangleControl(QWidget *parent)
    : Control(ControlType::PlainRectangle), m_shape(new Shape(parent))
{
}

QWidget *PlainRectangleControl::widget() const
{
    return m_shape;
}

void PlainRectangleControl::applyLook(const ControlLook &look)
{
    if (look.fill != DefaultColour)
        m_shape->fill = toQColor(look.fill);
    if (look.outline != DefaultColour)
        m_shape->outline = toQColor(look.outline);
    m_shape->outlineWidth = look.outlineWidth;
    m_shape->update();
}

} // namespace widgets
