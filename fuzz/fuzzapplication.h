#pragma once

// One offscreen application per fuzzing process, made before the first input, for the targets
// that need widgets or the screen.

#include <QApplication>

namespace fuzzing {

inline QApplication &application()
{
    static int argc = 1;
    static char name[] = "kestrigan-fuzz";
    static char *argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: the designers the targets keep would outlive it at exit.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace fuzzing
