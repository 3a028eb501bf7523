#include "codegen/tkintergenerator.h"

#include "model/designmodel.h"
#include "widgets/widgetlayer.h"

namespace codegen {

QString generate(const model::DesignModel &, const widgets::WidgetLayer &)
{
    return {};
}

} // namespace codegen
