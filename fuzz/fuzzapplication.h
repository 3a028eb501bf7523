#pragma once

// One offscreen application per fuzzing process, made before the first input, for the targets
// that need widgets or the screen. Always the same screen, 96 dots per inch with no X server behind
// it, so that the oracles can hold its numbers.

#include <QApplication>

namespace fuzzing {

// The largest font size Tk can draw on that screen, worked out by hand: text up to 1,500 pixels tall
// fits an X request, and 1,500 pixels at 96 dots per inch are 1,500 * 72 / 96 = 1,125 points.
inline constexpr int LargestPoints = 1125;

inline QApplication &application()
{
    static int argc = 1;
    static char name[] = "kestrigan-fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DISPLAY");
    qunsetenv("QT_FONT_DPI");
    // Never destroyed: the designers the targets keep would outlive it at exit.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

} // namespace fuzzing
