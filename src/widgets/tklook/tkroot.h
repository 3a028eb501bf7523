#pragma once

#include "widgets/tklook/tkoptions.h"

class QPainter;
class QSize;

namespace widgets::tk {

// The program's root window of the size as Tk draws it without the keyboard focus (tkFrame.c,
// DisplayFrame): X clears it to its background, Tk draws the highlight ring, and TkpDrawFrame fills
// what the ring leaves, with the border inside it.
void paintRootWindow(QPainter &painter, QSize size, const RootOptions &options);

} // namespace widgets::tk
