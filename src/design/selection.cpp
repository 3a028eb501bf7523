#include "design/selection.h"

#include "shell/designer.h"

namespace design {

void selectPressedWidget(shell::Designer &)
{
}

} // namespace design
