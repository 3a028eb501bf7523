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

} // namespace widgets
