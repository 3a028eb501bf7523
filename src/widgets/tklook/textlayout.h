#pragma once

#include "widgets/tklook/tklayout.h"

#include <QList>
#include <QString>

// Tk's text layout (Tk_ComputeTextLayout in tkFont.c, Tk_MeasureChars in tkUnixRFont.c): how a
// widget's text breaks into lines and how wide Tk measures each.
namespace widgets::tk {

class XftFont;

// A line: the characters Tk counts on it (the spaces a wrap swallowed among them, which show nothing),
// how wide Tk measures it, and whether a line feed or carriage return ended it.
struct Line
{
    QList<char32_t> characters;
    int width = 0;
    bool endedByBreak = false;
};

constexpr char32_t Tab = U'\t';

// Tabs stop every eight zeros.
int tabWidthOf(const XftFont &font);

// How far the character moves the pen at `lineX` pixels into its line.
int advanceOf(const XftFont &font, char32_t character, int lineX, int tabWidth);

// A line feed or a carriage return ends a line, and only a line feed at the very end starts another.
// With a positive wrap length a line ends too before a word that would pass it (a word longer than
// the whole length is cut where it passes), and the spaces there count on the line but do not widen it.
QList<Line> layoutLines(const XftFont &font, QStringView text, int wrapLength);

// Where a line starts in the block of the widest.
int lineOffset(Justify justify, int lineWidth, int widest);

} // namespace widgets::tk
