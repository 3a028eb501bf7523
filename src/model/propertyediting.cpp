#include "model/propertyediting.h"

#include "model/propertydisplay.h"
#include "shell/designer.h"

namespace model {

void applyPropertyEdits(shell::Designer &designer)
{
    showProperties(designer);
}

} // namespace model
