#include "model/designmodel.h"

#include "widgets/textconversion.h"
#include "widgets/widgetlayer.h"

namespace model {

QString Component::entryText() const
{
    return widgets::integerToText(number) + QLatin1Char('.') + kindName(kind);
}

QString Component::className() const
{
    return classWord(kind) + widgets::integerToText(number);
}

const Component &DesignModel::addComponent(widgets::WidgetLayer &layer, ComponentKind kind,
                                           const widgets::ControlRef &widget)
{
    ++lastNumber;
    layer.writeProperty(widget, widgets::Prop::Tag, widgets::integerToText(lastNumber));
    components.push_back(Component{kind, lastNumber, widget});
    return components.back();
}

const Component *DesignModel::componentByNumber(int number) const
{
    if (number < 1 || number > lastNumber || number > int(components.size()))
        return nullptr;
    return &components[number - 1];
}

QList<int> DesignModel::numbersOfKind(ComponentKind kind) const
{
    QList<int> numbers;
    for (const Component &component : components) {
        if (component.kind == kind)
            numbers.append(component.number);
    }
    return numbers;
}

std::optional<ComponentKind> kindOfEntry(const QString &entry)
{
    if (entry.isEmpty())
        return std::nullopt;
    for (ComponentKind kind : {ComponentKind::Window, ComponentKind::Label, ComponentKind::Entry,
                               ComponentKind::Button, ComponentKind::RadioButton, ComponentKind::CheckButton}) {
        if (entry.contains(kindName(kind)))
            return kind;
    }
    return std::nullopt;
}

int numberOfEntry(const QString &entry)
{
    return widgets::textToInteger(entry.section(QLatin1Char('.'), 0, 0));
}

} // namespace model
