#pragma once

#include <QFont>
#include <QMetaType>
#include <QString>
#include <QVariant>

namespace widgets {

// A control's font as the designer sees it. The record, not QFont, is the truth: a height of 0
// (size 0) is kept and read back although Qt cannot show a font of that size.
struct FontValue
{
    QString face = QStringLiteral("微软雅黑");
    int height = -12;       // character height in pixels, negative as the platform keeps it
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int angle = 0;          // tenths of a degree
    int charset = 134;      // GB2312

    bool operator==(const FontValue &other) const = default;
};

// The face that replaces an empty or too long face name.
inline const QString FallbackFace = QStringLiteral("宋体");

// (a * b) / c rounded to the nearest integer, halves away from zero, as the Windows MulDiv does.
// Gives -1 when c is 0 or the result does not fit 32 bits.
int mulDiv(int a, int b, int c);

// Points to a character height (negative) and back, at the given vertical dots per inch.
// A size below 0 counts as 0.
int heightForPoints(int points, int dotsPerInch);
int pointsForHeight(int height, int dotsPerInch);

// An empty face, one that begins with "-", or one of 32 bytes or more in GB18030, becomes the fallback face.
QString acceptedFace(const QString &face);

// The font of a control that never had one set: the platform's user-interface font.
FontValue defaultGuiFont();

// The nearest font Qt can show for the record.
QFont toQFont(const FontValue &font);

// Reads or writes one member of a font record (FontMember numbers), or the whole record for -1.
QVariant readFontMember(const FontValue &font, int member);
FontValue withFontMember(FontValue font, int member, const QVariant &value);

} // namespace widgets

Q_DECLARE_METATYPE(widgets::FontValue)
