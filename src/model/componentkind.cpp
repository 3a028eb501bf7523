#include "model/componentkind.h"

namespace model {

QString kindName(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Window: return QStringLiteral("窗口");
    case ComponentKind::Label: return QStringLiteral("标签");
    case ComponentKind::Entry: return QStringLiteral("编辑框");
    case ComponentKind::Button: return QStringLiteral("按钮");
    case ComponentKind::RadioButton: return QStringLiteral("单选框");
    case ComponentKind::CheckButton: return QStringLiteral("复选框");
    }
    return {};
}

QString classWord(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Window: return QStringLiteral("Window");
    case ComponentKind::Label: return QStringLiteral("Label");
    case ComponentKind::Entry: return QStringLiteral("Entry");
    case ComponentKind::Button: return QStringLiteral("Button");
    case ComponentKind::RadioButton: return QStringLiteral("RadioButton");
    case ComponentKind::CheckButton: return QStringLiteral("CheckButton");
    }
    return {};
}

std::optional<ComponentKind> kindOfPaletteItem(int item)
{
    if (item >= 1 && item <= int(WidgetKinds.size()))
        return WidgetKinds[item - 1];
    return std::nullopt;
}

} // namespace model
