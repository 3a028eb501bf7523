#pragma once

#include "widgets/layouttable.h"

namespace design {
struct DesignerState;
}

namespace design {

// The design window's layout table: a self-framed window with the five hidden templates.
widgets::WindowLayout designWindowTable(design::DesignerState &designer);

} // namespace design
