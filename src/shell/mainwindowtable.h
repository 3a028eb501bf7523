#pragma once

#include "widgets/layouttable.h"

namespace shell {

struct Designer;

// The main window's layout table, its handlers bound to the designer.
widgets::WindowLayout mainWindowTable(Designer &designer);

} // namespace shell
