#pragma once

#include <QIcon>

namespace shell {

// Kestrigan's icon: a window outline on the accent blue, drawn at the sizes window managers ask for.
QIcon applicationIcon();

} // namespace shell
