#pragma once

#include "widgets/codeeditor/codeeditormodule.h"

#include <QString>

namespace widgets {

// The code editor library, loaded on the first call from the one place it belongs: where it is
// installed relative to the program, or the folder that the environment variable
// KESTRIGAN_CODE_EDITOR_DIR names (for the tests, which run from other folders of the build tree).
// nullptr where it cannot be loaded, with the reason in error.
const CodeEditorModule *codeEditorModule(QString &error);

} // namespace widgets
