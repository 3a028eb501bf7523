#pragma once

#include "widgets/screenmetrics.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QtGlobal>

// One logical pixel is one screen pixel. The design window shows Tk's window, and Tk places widgets
// in screen pixels and never scales them; Qt's own scaling (a device pixel ratio from Xft.dpi or from
// QT_SCALE_FACTOR) would make every design widget larger than Tk's, or leave it between pixels. So
// Qt's scaling is off, and the designer's own interface scales itself: its fonts follow the screen's
// logical resolution (Xft.dpi, as the desktop sets it), and the widget layer scales the lengths of
// its layout tables, which are given at 96 dots per inch, by the same ratio.
namespace widgets {

// Call before the application object is made. Turns Qt's scaling off; a scale the user asked Qt for
// (QT_SCALE_FACTOR, QT_SCREEN_SCALE_FACTORS) becomes the interface's, through its logical resolution.
void prepareScreenScaling();

// The factor QT_SCALE_FACTOR and QT_SCREEN_SCALE_FACTORS ask for together: 1 when neither is set or
// valid. Named screen factors ("HDMI-1=2;eDP-1=1.5") cannot be matched to screens before Qt
// connects; the first one counts.
qreal requestedScaleFactor(const QByteArray &scaleFactor, const QByteArray &screenScaleFactors);

// Layout units to screen pixels and back, by default at the interface's scale. Rectangles convert by
// their edges, so that controls that touch in the table still touch on the screen.
int toScreen(int length, qreal scale = interfaceScale());
int fromScreen(int length, qreal scale);
QSize toScreen(QSize size, qreal scale);
QSize fromScreen(QSize size, qreal scale);
QRect toScreen(const QRect &rect, qreal scale);
QRect fromScreen(const QRect &rect, qreal scale);

} // namespace widgets
