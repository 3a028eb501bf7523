#pragma once

#include <QString>

namespace design {
struct DesignerState;
}

namespace model {

// Fills the property grid for the entry the component list has selected now, reading every value
// from the widget, the design window and the model at this moment.
void showProperties(design::DesignerState &designer);

// Appends an entry to the component list, selects it and shows its properties.
void addListEntry(design::DesignerState &designer, const QString &entry);

// Selects a list entry from code (no notification) and shows its properties.
void selectListEntry(design::DesignerState &designer, int index);

} // namespace model
