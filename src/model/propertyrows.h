#pragma once

#include "model/componentkind.h"
#include "widgets/propertyindex.h"

#include <QList>
#include <QString>

#include <optional>

namespace model {

// What a value row of the property grid stands for.
enum class PropertyRow {
    ClassName,  // "Window" or the component's class name; never editable
    Caption,    // the design window's caption or the widget's caption text
    Top,        // the model's windowTop, or the widget's top edge
    Left,       // the model's windowLeft, or the widget's left edge
    Width,      // the design window's client width, or the widget's outer width
    Height,     // likewise
    FontFace,
    FontSize,   // in points
};

// The value rows shown for a kind, from grid row 1 down. Row 0 is the header.
QList<PropertyRow> propertyRows(ComponentKind kind);

// The text of the row in the label column.
QString rowLabel(PropertyRow row);

// The widget property that holds a kind's caption, or none for the Entry and the window.
std::optional<widgets::Prop> captionProperty(ComponentKind kind);
// The widget property that holds a kind's font, or none for the window.
std::optional<widgets::Prop> fontProperty(ComponentKind kind);

// The header texts of row 0.
inline const QString LabelColumnHeader = QStringLiteral("名称");
inline const QString ValueColumnHeader = QStringLiteral("值");

// Widths every display gives the two columns.
inline constexpr int LabelColumnWidth = 60;
inline constexpr int ValueColumnWidth = 114;

} // namespace model
