#pragma once

#include <QString>

namespace widgets {
class WidgetLayer;
}

namespace model {
class DesignModel;
}

namespace codegen {

// The Python/Tkinter program that builds the designed window, read from the model and the live
// widgets. Changes nothing.
QString generate(const model::DesignModel &model, const widgets::WidgetLayer &layer);

} // namespace codegen
