#pragma once

#include <QString>

#include <array>
#include <optional>

namespace model {

// The kinds of widget the designer places, and the design window itself.
enum class ComponentKind {
    Window,
    Label,
    Entry,
    Button,
    RadioButton,
    CheckButton,
};

// The widget kinds in their canonical order: the palette's and the generator's.
inline constexpr std::array<ComponentKind, 5> WidgetKinds{ComponentKind::Label, ComponentKind::Entry,
                                                         ComponentKind::Button, ComponentKind::RadioButton,
                                                         ComponentKind::CheckButton};

// The Chinese word of the kind: palette item, list entries, kind test.
QString kindName(ComponentKind kind);
// The class-name row's word and the prefix of a component's class name.
QString classWord(ComponentKind kind);

// The kind named by a palette item (1 to 5), or none for the pointer and anything else.
std::optional<ComponentKind> kindOfPaletteItem(int item);

} // namespace model
