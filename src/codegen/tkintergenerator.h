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
// widgets. Changes nothing. Lines are separated by CR LF; the last line has no line end.
QString generate(const model::DesignModel &model, const widgets::WidgetLayer &layer);

// The text as it must stand between the single quotes of a Python string literal so that the
// literal evaluates to exactly that text: backslash, quote, CR, LF, TAB and the other control
// characters are escaped, everything else (Chinese, emoji) is copied. A lone UTF-16 surrogate
// cannot be encoded in a program file, nor can Tk show it: it becomes U+FFFD.
// The text ends at its first NUL (widgets::textBeforeNul), as in the design window.
QString pythonQuotedText(const QString &text);

// Whole points of a font height in pixels at the given vertical dots per inch, halves away from zero.
int fontPoints(int height, int dotsPerInch);

} // namespace codegen
