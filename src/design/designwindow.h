#pragma once

#include "widgets/layouttable.h"

namespace shell {
struct Designer;
}

namespace design {

// The design window's layout table: a self-framed window with the five hidden templates.
widgets::WindowLayout designWindowTable(shell::Designer &designer);

} // namespace design
