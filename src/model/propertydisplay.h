#pragma once

#include <QString>

namespace shell {
struct Designer;
}

namespace model {

// Fills the property grid for the entry the component list has selected now, reading every value
// from the widget, the design window and the model at this moment.
void showProperties(shell::Designer &designer);

// Appends an entry to the component list, selects it and shows its properties.
void addListEntry(shell::Designer &designer, const QString &entry);

// Selects a list entry from code (no notification) and shows its properties.
void selectListEntry(shell::Designer &designer, int index);

} // namespace model
