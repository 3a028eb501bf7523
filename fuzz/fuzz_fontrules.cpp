// The font rules: a size in points to a character height and back as MulDiv rounds, and the face
// names that are kept or replaced by the fallback.

#include "fuzzapplication.h"
#include "fuzzinput.h"
#include "widgets/fontvalue.h"
#include "widgets/propertyindex.h"

#include <QStringEncoder>

#include <cmath>
#include <limits>

namespace {

// MulDiv worked in long double: exact for every 32-bit product, halves away from zero.
int referenceMulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long double exact = static_cast<long double>(a) * b / c;
    const long double rounded = std::round(exact);
    if (std::fabs(rounded) > std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(rounded);
}

void check(bool ok, const char *what, int a, int b)
{
    if (!ok)
        qFatal("font rule broken: %s (%d, %d)", what, a, b);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzzing::application();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using widgets::FontMember;
    fuzzing::FuzzInput input(data, size);
    const int a = input.integer();
    const int b = input.integer();
    const int c = input.integer();
    check(widgets::mulDiv(a, b, c) == referenceMulDiv(a, b, c), "mulDiv", a, b);

    // Real screens have between 1 and some thousands of dots per inch.
    const int dpi = 1 + (input.integer() & 0x3FFF);
    const int points = input.integer();
    const int height = widgets::heightForPoints(points, dpi);
    const int magnitude = referenceMulDiv(qMax(points, 0), dpi, 72);
    check(height == (magnitude < 0 ? -std::numeric_limits<int>::max() : -magnitude), "heightForPoints", points, dpi);
    check(height <= 0, "a height is never positive", points, dpi);
    const long long back = std::llabs(static_cast<long long>(height));
    check(widgets::pointsForHeight(height, dpi) == referenceMulDiv(int(qMin<long long>(back, INT_MAX)), 72, dpi),
          "pointsForHeight", height, dpi);
    // At 72 dots per inch or more a height has at least one pixel per point, so the size comes back.
    if (dpi >= 72 && magnitude >= 0)
        check(widgets::pointsForHeight(height, dpi) == qMax(points, 0), "size round trip", points, dpi);

    // Through a font record at the screen's resolution, as a control's font member is written and read.
    widgets::FontValue font;
    font = widgets::withFontMember(font, int(FontMember::Size), points);
    const int shown = widgets::readFontMember(font, int(FontMember::Size)).toInt();
    check(shown >= 0, "a read size is never negative", points, shown);
    // A size Tk cannot draw on the screen becomes the largest it can.
    if (points >= 0)
        check(shown == qMin(points, fuzzing::LargestPoints), "record size round trip", points, shown);

    const QString face = input.text();
    const QString accepted = widgets::acceptedFace(face);
    check(accepted == face || accepted == widgets::FallbackFace, "a face is kept or replaced", int(face.size()), 0);
    check(widgets::acceptedFace(accepted) == accepted, "an accepted face stays", int(face.size()), 0);
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(face);
    const bool usable = !face.isEmpty() && !face.startsWith(QLatin1Char('-')) && !encoder.hasError() && bytes.size() < 32;
    check(usable == (accepted == face) || face == widgets::FallbackFace, "which faces are kept", int(bytes.size()), usable);
    font = widgets::withFontMember(font, int(FontMember::Face), face);
    check(widgets::readFontMember(font, int(FontMember::Face)).toString() == accepted, "record face", int(face.size()), 0);
    return 0;
}
