#include "model/propertyrows.h"

namespace model {

using widgets::Prop;

QList<PropertyRow> propertyRows(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Window:
        return {PropertyRow::ClassName, PropertyRow::Caption, PropertyRow::Top, PropertyRow::Left,
                PropertyRow::Width, PropertyRow::Height};
    case ComponentKind::Entry:
        return {PropertyRow::ClassName, PropertyRow::Top, PropertyRow::Left, PropertyRow::Width,
                PropertyRow::Height, PropertyRow::FontFace, PropertyRow::FontSize};
    case ComponentKind::Label:
    case ComponentKind::Button:
    case ComponentKind::RadioButton:
    case ComponentKind::CheckButton:
        break;
    }
    return {PropertyRow::ClassName, PropertyRow::Caption, PropertyRow::Top, PropertyRow::Left,
            PropertyRow::Width, PropertyRow::Height, PropertyRow::FontFace, PropertyRow::FontSize};
}

QString rowLabel(PropertyRow row)
{
    switch (row) {
    case PropertyRow::ClassName: return QStringLiteral("类名");
    case PropertyRow::Caption: return QStringLiteral("标题");
    case PropertyRow::Top: return QStringLiteral("顶边");
    case PropertyRow::Left: return QStringLiteral("左边");
    case PropertyRow::Width: return QStringLiteral("宽度");
    case PropertyRow::Height: return QStringLiteral("高度");
    case PropertyRow::FontFace: return QStringLiteral("字体");
    case PropertyRow::FontSize: return QStringLiteral("大小");
    }
    return {};
}

std::optional<Prop> captionProperty(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Label: return Prop::LabelText;
    case ComponentKind::Button: return Prop::ButtonCaption;
    case ComponentKind::RadioButton:
    case ComponentKind::CheckButton: return Prop::CheckCaption;
    case ComponentKind::Window:
    case ComponentKind::Entry: break;
    }
    return std::nullopt;
}

std::optional<Prop> fontProperty(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Label: return Prop::LabelFont;
    case ComponentKind::Entry: return Prop::EntryFont;
    case ComponentKind::Button: return Prop::ButtonFont;
    case ComponentKind::RadioButton:
    case ComponentKind::CheckButton: return Prop::CheckFont;
    case ComponentKind::Window: break;
    }
    return std::nullopt;
}

} // namespace model
