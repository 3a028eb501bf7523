#pragma once

#include "widgets/controls/codeeditormodule.h"

#include <QString>

namespace widgets {

// The code editor library, loaded on the first call: from beside the program, from where it is
// installed relative to the program, or from the build tree (for the tests and tools run there).
// nullptr where it cannot be loaded, with the reason in error.
const CodeEditorModule *codeEditorModule(QString &error);

} // namespace widgets
