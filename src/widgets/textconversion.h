#pragma once

#include <QString>
#include <QStringList>

namespace widgets {

// Folds full-width forms to ASCII, then reads like atoi: leading blanks, one sign, decimal digits up
// to the first other character. No digits give 0; values beyond 32 bits wrap as atoi's do on the platform.
int textToInteger(const QString &text);

// Decimal text, a minus sign for negative values, no leading zeros or blanks.
QString integerToText(int value);

// The full-width fold that textToInteger applies before reading.
QString foldFullWidth(const QString &text);

// 1-based position of the first occurrence of `what` in `text`, or -1.
int findText(const QString &text, const QString &what);

// The pieces between delimiters.
QStringList splitText(const QString &text, const QString &delimiter);

// A text of the generated program as Tk takes it: up to its first NUL. Under Python 3.11, Tk 8.6.13
// ends a title, a shown caption and a face there (one that begins with it gets Tk's default font and
// size); under Python 3.13, Tk 8.6.16 keeps the NUL, draws it as a box, asks fontconfig for a face
// with it in its name and gives the window manager a title of invalid UTF-8. Cut here, a program
// shows the same window on both, and the design window shows that window.
QStringView textBeforeNul(QStringView text);

} // namespace widgets
