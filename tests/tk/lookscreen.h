#pragma once

// The screen a look test compares on, as the test's environment describes it (tests/tk/CMakeLists.txt).

#include "tkprobe.h"

#include <QByteArray>
#include <QFile>

namespace lookscreen {

// A RESOURCE_MANAGER property no xrdb would write, which Tk reads all the same: control characters,
// comments continued over lines, escapes, patterns that match nothing in Tk ("?", "*.", overlong
// fields), abbreviated words, distances in points and millimetres, numbers too large for any widget,
// and more than the 400,000 bytes Tk reads, with entries past that point that must not count.
inline QByteArray hostileResourceProperty()
{
    QByteArray text =
        "\x01\x02 garbage \x7f\x1b[31m: still a line of its own\n"
        "! a comment \\\n*Button.background: red, continued into the comment\n"
        "#define NOT_FOR_CPP 1\n"
        "   \t  \n"
        "*Label.relief: sunken\n"
        "*Label.borderWidth: 100000\n"
        "*Entry.highlightThickness: 1e300\n"
        "*Entry.borderWidth: -2\n"
        "*Radiobutton.borderWidth: 0.4c\n"
        "*Radiobutton.relief: so\n"
        "*Button.borderWidth: 2p\n"
        "*Button.highlightThickness: 1m\n"
        "*Button.padY: -5\n"
        "*Button.anchor: n\n"
        "*Button.default: norm\n"
        "*Button.wrapLength: 30\n"
        "*Label.wrapLength: -5\n"
        "*Button.background: #AbC\n"
        "tk.Button.foreground: yellow\n"
        "Tk*Entry.background: #ffeedd\n"
        "*Checkbutton.selectColor: \\101qua\n"
        "*Checkbutton.offRelief: gr\n"
        "*Checkbutton.underline: 007\n"
        "*Radiobutton.background: GrEy\n"
        "*Checkbutton.indicatorOn: Of\n"
        "*Label.state: dis\n"
        "*?.foreground: red\n"
        "?.background: red\n"
        "*.background: red\n"
        "**background: red\n"
        "*a*b*c*d*e*f*g*h*i.background: red\n"
        "*Radiobutton.你好: 世界\n"
        "*Radiobutton*" + QByteArray(150, 'x') + ".background: red\n"
        // The root's: a negative border that only its ring keeps from covering the window, padding
        // past the 16 bits X holds a position in, and padding too large for an int.
        "Tk.borderWidth: -3\n"
        "Tk.relief: rai\n"
        "Tk.highlightThickness: 5\n"
        "*highlightBackground: #AbC\n"
        "Tk.padX: 65536\n"
        "Tk.padY: 1e300\n";
    // Filler up to just short of where Tk stops reading, then a line that Tk's cut leaves unfinished.
    for (int i = 0; text.size() < 399990; ++i)
        text += "*Filler" + QByteArray::number(i).rightJustified(6, '0') + ".background: #123456\n";
    text.truncate(399990);
    text += "\n*Entry.background: red\n*Label.background: red\n*Checkbutton.background: red\n";
    return text;
}

// The screen to compare on, from the environment: KESTRIGAN_LOOK_DPI (a number, or "server" for the
// X server's own default), KESTRIGAN_LOOK_XFT_DPI, KESTRIGAN_LOOK_RESOURCES (a file for xrdb) and
// KESTRIGAN_LOOK_HOSTILE_RESOURCES. Without them, 96 dots per inch and no resources.
inline tktest::ScreenSettings screenFromEnvironment()
{
    tktest::ScreenSettings screen;
    if (qEnvironmentVariableIsSet("KESTRIGAN_LOOK_RESOURCES")) {
        QFile file(qEnvironmentVariable("KESTRIGAN_LOOK_RESOURCES"));
        if (file.open(QIODevice::ReadOnly))
            screen.resources = file.readAll();
        else
            qCritical("cannot read %s", qPrintable(file.fileName()));
    }
    if (qEnvironmentVariableIsSet("KESTRIGAN_LOOK_HOSTILE_RESOURCES"))
        screen.resourceProperty = hostileResourceProperty();
    const QString dpi = qEnvironmentVariable("KESTRIGAN_LOOK_DPI");
    if (dpi == QLatin1String("server"))
        screen.dotsPerInch.reset();
    else if (!dpi.isEmpty())
        screen.dotsPerInch = dpi.toInt();
    if (qEnvironmentVariableIsSet("KESTRIGAN_LOOK_XFT_DPI"))
        screen.xftDotsPerInch = qEnvironmentVariableIntValue("KESTRIGAN_LOOK_XFT_DPI");
    return screen;
}

} // namespace lookscreen
