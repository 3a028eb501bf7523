#include "widgets/fontvalue.h"

#include "widgets/propertyindex.h"
#include "widgets/screenmetrics.h"

#include <QFontDatabase>
#include <QStringEncoder>

#include <cstdlib>
#include <limits>

namespace widgets {

int mulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const long long numerator = std::llabs(product);
    const long long divisor = std::llabs(static_cast<long long>(c));
    const long long rounded = (numerator + divisor / 2) / divisor;
    if (rounded > std::numeric_limits<int>::max())
        return -1;
    return negative ? -static_cast<int>(rounded) : static_cast<int>(rounded);
}

int heightForPoints(int points, int dotsPerInch)
{
    const int height = mulDiv(qMax(points, 0), dotsPerInch, 72);
    // A size too large for a 32-bit height gets the largest height, not MulDiv's -1.
    return height < 0 ? -std::numeric_limits<int>::max() : -height;
}

int pointsForHeight(int height, int dotsPerInch)
{
    const long long magnitude = std::llabs(static_cast<long long>(height));
    return mulDiv(static_cast<int>(qMin<long long>(magnitude, std::numeric_limits<int>::max())), 72, dotsPerInch);
}

namespace {

// Whether the face fits Windows' face-name buffer: under 32 bytes in GB18030. ASCII takes one byte, a
// surrogate pair four, another character two or four as GB18030's tables say; a lone surrogate is
// left to the encoder. The encoder, and with it ICU's conversion data, is opened only where those
// bounds leave the answer open, so the faces of an ordinary start-up keep it out of the process.
bool fitsFaceBuffer(const QString &face)
{
    constexpr qsizetype Buffer = 32;  // the terminating zero included
    qsizetype least = 0;
    qsizetype most = 0;
    qsizetype i = 0;
    for (; i < face.size(); ++i) {
        const char16_t unit = face.at(i).unicode();
        if (unit < 0x80) {
            ++least;
            ++most;
        } else if (QChar::isHighSurrogate(unit) && i + 1 < face.size() && face.at(i + 1).isLowSurrogate()) {
            ++i;
            least += 4;
            most += 4;
        } else if (QChar::isSurrogate(unit)) {
            break;  // a lone surrogate: the encoder decides
        } else {
            least += 2;
            most += 4;
        }
        if (least >= Buffer)
            return false;
    }
    if (i == face.size() && most < Buffer)
        return true;
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(face);
    return !encoder.hasError() && bytes.size() < Buffer;
}

} // namespace

QString acceptedFace(const QString &face)
{
    // Tk reads a font whose first word begins with "-" as a list of options, so a program given such
    // a face would stop with an error: no font family is named that way.
    if (face.isEmpty() || face.startsWith(QLatin1Char('-')))
        return FallbackFace;
    // Windows keeps a face name in 32 bytes of the system code page; GB18030 gives every character a
    // length, also those beyond code page 936.
    return fitsFaceBuffer(face) ? face : FallbackFace;
}

FontValue defaultGuiFont()
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    FontValue font;
    font.face = system.family();
    font.height = system.pixelSize() > 0 ? -system.pixelSize()
                                         : heightForPoints(qRound(system.pointSizeF()), layoutDotsPerInch());
    font.weight = system.bold() ? 700 : 400;
    font.italic = system.italic();
    return font;
}

QFont toQFont(const FontValue &font)
{
    QFont qfont(font.face);
    // A height of 0 asks the platform for its default size, as the font mapper on Windows does.
    if (font.height == 0)
        qfont.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
    else
        qfont.setPixelSize(qMin(std::abs(font.height), 4096));
    qfont.setWeight(QFont::Weight(qBound(1, font.weight / 1, 1000)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    return qfont;
}

QVariant readFontMember(const FontValue &font, int member)
{
    switch (FontMember(member)) {
    case FontMember::WholeValue: return QVariant::fromValue(font);
    case FontMember::Angle: return font.angle;
    case FontMember::Bold: return font.weight >= 700;
    case FontMember::Italic: return font.italic;
    case FontMember::Underline: return font.underline;
    case FontMember::StrikeOut: return font.strikeOut;
    case FontMember::Size: return pointsForHeight(font.height, layoutDotsPerInch());
    case FontMember::Face: return font.face;
    }
    return {};
}

FontValue withFontMember(FontValue font, int member, const QVariant &value)
{
    switch (FontMember(member)) {
    case FontMember::WholeValue:
        if (value.canConvert<FontValue>()) {
            font = value.value<FontValue>();
            font.face = acceptedFace(font.face);
        }
        break;
    case FontMember::Angle: font.angle = value.toInt(); break;
    case FontMember::Bold: font.weight = value.toBool() ? 700 : 400; break;
    case FontMember::Italic: font.italic = value.toBool(); break;
    case FontMember::Underline: font.underline = value.toBool(); break;
    case FontMember::StrikeOut: font.strikeOut = value.toBool(); break;
    case FontMember::Size:
        // A size is a size of the generated program's text: one Tk cannot draw on this screen would
        // end the program with an X error, so the largest it can draw is taken instead.
        font.height = heightForPoints(drawableTextPoints(value.toInt()), layoutDotsPerInch());
        break;
    case FontMember::Face: font.face = acceptedFace(value.toString()); break;
    }
    return font;
}

} // namespace widgets
