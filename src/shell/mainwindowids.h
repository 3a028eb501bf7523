#pragma once

#include "design/mainwindowids.h"

namespace shell {

// The main window's controls, by the identifiers of its layout table.
namespace ids = design::mainwindow;

} // namespace shell
