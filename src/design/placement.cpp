#include "design/placement.h"

#include "shell/designer.h"

namespace design {

void onDesignWindowPressed(shell::Designer &, int, int)
{
}

} // namespace design
