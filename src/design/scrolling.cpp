#include "design/scrolling.h"

#include "shell/designer.h"

namespace design {

void onHorizontalScroll(shell::Designer &)
{
}

void onVerticalScroll(shell::Designer &)
{
}

} // namespace design
